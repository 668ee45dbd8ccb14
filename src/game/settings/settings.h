// Room game/settings: the settings file, key bindings and their rebinding,
// the options and the assists. Includes base and play.
//
// settings: the display options read once from "settings.ini" at start-up
// (the player's own copy when installed, see game/base/places.h).
// The options screen changes it through game/settings/settings_write.h. Every key is optional and reads as 0 when
// missing, except "ghost" and "hints" (game/play/hints.h), which are on unless
// given as 0.
#pragma once

#include <cstdio>

const char SettingsFileName[] = "settings.ini";
const int SettingsMaxLines = 160;   // only the first 160 lines of the file count
const int SettingsLineSize = 256;   // a slot holds 255 characters and a terminator

extern char SettingsLines[SettingsMaxLines][SettingsLineSize]; // lines, spaces removed
extern int SettingsLineCount;       // 0 when the file could not be opened, else SettingsMaxLines

const int SettingsLanguageSize = 16;   // bytes of a language code, terminator included

struct SettingsRecord {
  bool fullscreen;    // take the whole screen instead of a window
  bool showcursor;    // show the system pointer over the window
  bool antialiasing;  // ask for 4x multisampling
  bool mipmapping;    // build the atlas texture with mipmaps
  bool ghost;         // the best run's ghost ball in play; on unless "ghost = 0"
  int sound;          // effects volume 0..100; 80 when the key is missing
  int music;          // music volume 0..100; 50 when the key is missing
  int speed;          // assist: game speed in percent, 50..100 in steps of 10; 100 unless given
  bool tetherToggle;  // assist: a click shoots the tether and the next lets go, instead of holding
  bool reduceFlashing;// no full-screen flashes, fewer particles
  char language[SettingsLanguageSize];  // a code of lang.h's table; empty follows the system
};
extern SettingsRecord Settings;

// Accepted values per key; anything else (and nan or inf) reads as 0, like a missing key.
const float SettingsMaxScreenSize = 16384;  // pixels, "screenw" and "screenh": 0..16384
const float SettingsMaxDepth = 32;          // bits per pixel, "screenbpp": 0..32
const float SettingsMaxFlag = 1e9f;         // the four switches: -1e9..1e9, non-zero is on
const float SettingsMaxVolume = 100;        // "sound" and "music": 0..100, 0 is off
const float SettingsDefaultSound = 80;      // volumes when their key is missing
const float SettingsDefaultMusic = 50;
const int SettingsFullSpeed = 100;          // "speed": percent of the game's own pace
const int SettingsMinSpeed = 50;
const int SettingsSpeedStep = 10;

// Fills SettingsLines and SettingsLineCount from "settings.ini".
void ReadSettingsFile();

// Fills the slots from an open stream (lines longer than 255 characters are
// cut and the rest of such a line is skipped); sets SettingsLineCount to SettingsMaxLines.
void ReadSettingsStream(FILE* f);

// The number after "name=" on the last line that starts with it; 0 when absent.
float SettingValue(const char* name);

// True when some line starts with "name=".
bool SettingPresent(const char* name);

// The text after "name=" on the last line that starts with it; null when absent.
const char* SettingText(const char* name);

// SettingValue, or 0 when that is not finite or lies outside low..high.
float SettingInRange(const char* name, float low, float high);

// "speed" as a valid game speed: 50..100 in steps of 10, anything else 100.
int SettingSpeed();

// Settings, ScreenWidth, ScreenHeight, ScreenDepth, AspectRatio from the
// slots; the language from "language" (UseLanguage).
void ApplySettings();

// ReadSettingsFile, then ApplySettings.
void LoadSettings();
