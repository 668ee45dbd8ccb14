// settings: the display options read once from "settings.ini" at start-up.
// The file is never written. Every key is optional and reads as 0 when missing.
#pragma once

const int SettingsMaxLines = 100;   // only the first 100 lines of the file count
const int SettingsLineSize = 256;   // a slot holds 255 characters and a terminator

extern char SettingsLines[SettingsMaxLines][SettingsLineSize]; // lines, spaces removed
extern int SettingsLineCount;       // 0 when the file could not be opened, else 100

struct SettingsRecord {
  bool fullscreen;    // take the whole screen instead of a window
  bool showcursor;    // show the system pointer over the window
  bool antialiasing;  // ask for 4x multisampling
  bool mipmapping;    // build the atlas texture with mipmaps
};
extern SettingsRecord Settings;

// Fills SettingsLines and SettingsLineCount from "settings.ini".
void ReadSettingsFile();

// The number after "name=" on the last line that starts with it; 0 when absent.
float SettingValue(const char* name);

// ReadSettingsFile, then Settings, ScreenWidth, ScreenHeight, ScreenDepth, AspectRatio.
void LoadSettings();
