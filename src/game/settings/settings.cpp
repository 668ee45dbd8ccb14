// The settings.ini reader: 160 space-free line slots and the key lookups over them.
#include "game/settings/settings.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "game/base/lang.h"
#include "game/base/places.h"
#include "game/base/screen.h"
#include "game/play/hints.h"

char SettingsLines[SettingsMaxLines][SettingsLineSize];
int SettingsLineCount;
SettingsRecord Settings;


// Reads one line into slot, without its line feed. The part of a line that
// does not fit is read and dropped, so it never turns into a line of its own.
static void ReadSettingsLine(FILE* f, char* slot)
{
  int len = 0;
  int c;
  while ((c = fgetc(f)) != EOF && c != '\n')
    if (len < SettingsLineSize - 1)
      slot[len++] = (char)c;
  slot[len] = 0;
}

static void RemoveSpaces(char* s)
{
  char* out = s;
  for (; *s; s++)
    if (*s != ' ')
      *out++ = *s;
  *out = 0;
}

void ReadSettingsStream(FILE* f)
{
  for (int i = 0; i < SettingsMaxLines; i++)
    ReadSettingsLine(f, SettingsLines[i]);
  SettingsLineCount = SettingsMaxLines;
  for (int i = 0; i < SettingsMaxLines; i++)
    RemoveSpaces(SettingsLines[i]);
}

void ReadSettingsFile()
{
  SettingsLineCount = 0;
  PathBuffer path;
  if (!ReadablePath(path, Places.userSettings, Places.shippedSettings, SettingsFileName))
    return;
  FILE* f = fopen(path, "r");
  if (!f)
    return;
  ReadSettingsStream(f);
  fclose(f);
}

const char* SettingText(const char* name)
{
  const char* result = nullptr;
  char search[SettingsLineSize];
  snprintf(search, sizeof(search), "%s%s", name, "=");
  size_t len = strlen(search);
  for (int i = 0; i < SettingsLineCount; i++)
    if (strncmp(SettingsLines[i], search, len) == 0)
      result = SettingsLines[i] + len;
  return result;
}

float SettingValue(const char* name)
{
  const char* text = SettingText(name);
  return text ? (float)atof(text) : 0;
}

bool SettingPresent(const char* name)
{
  char search[SettingsLineSize];
  snprintf(search, sizeof(search), "%s%s", name, "=");
  size_t len = strlen(search);
  for (int i = 0; i < SettingsLineCount; i++)
    if (strncmp(SettingsLines[i], search, len) == 0)
      return true;
  return false;
}

float SettingInRange(const char* name, float low, float high)
{
  float v = SettingValue(name);
  if (!std::isfinite(v) || v < low || v > high)
    return 0;
  return v;
}

// A volume key: its default when missing, else 0..100 with anything else as 0.
static int SettingVolume(const char* name, float missing)
{
  if (!SettingPresent(name))
    return (int)missing;
  return (int)SettingInRange(name, 0, SettingsMaxVolume);
}

static bool SettingFlag(const char* name)
{
  return SettingInRange(name, -SettingsMaxFlag, SettingsMaxFlag) != 0;
}

int SettingSpeed()
{
  int v = (int)SettingInRange("speed", SettingsMinSpeed, SettingsFullSpeed);
  return v && v % SettingsSpeedStep == 0 ? v : SettingsFullSpeed;
}

void ApplySettings()
{
  ScreenWidth = SettingInRange("screenw", 0, SettingsMaxScreenSize);
  ScreenHeight = SettingInRange("screenh", 0, SettingsMaxScreenSize);
  ScreenDepth = (int)SettingInRange("screenbpp", 0, SettingsMaxDepth);
  Settings.fullscreen = SettingFlag("fullscreen");
  Settings.showcursor = SettingFlag("showcursor");
  Settings.antialiasing = SettingFlag("antialiasing");
  Settings.mipmapping = SettingFlag("mipmapping");
  Settings.ghost = !SettingPresent("ghost") || SettingFlag("ghost");
  HintsEnabled = !SettingPresent("hints") || SettingFlag("hints");
  Settings.sound = SettingVolume("sound", SettingsDefaultSound);
  Settings.music = SettingVolume("music", SettingsDefaultMusic);
  Settings.speed = SettingSpeed();
  Settings.tetherToggle = SettingFlag("tether_toggle");
  Settings.reduceFlashing = SettingFlag("reduce_flashing");
  const char* language = SettingText("language");
  snprintf(Settings.language, sizeof Settings.language, "%s", language ? language : "");
  if (!UseLanguage(Settings.language))
    Settings.language[0] = 0;   // an unknown code follows the system, as UseLanguage does
  AspectRatio = ScreenWidth / ScreenHeight;
}

void LoadSettings()
{
  ReadSettingsFile();
  ApplySettings();
}
