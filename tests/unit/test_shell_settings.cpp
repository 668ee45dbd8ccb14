// The settings.ini reader: its syntax rules, the 128-line window, over-long
// lines and the accepted range of each key.
#include <gtest/gtest.h>

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>

#include "game/base/screen.h"
#include "game/play/hints.h"
#include "game/settings/key_bindings.h"
#include "game/settings/settings.h"
#include "platform/keymap.h"
#include "test_support.h"

namespace {

// Runs LoadSettings on the given file text inside a fresh working directory.
void LoadFrom(const std::string& text)
{
  ScratchDir dir;
  WriteFile("settings.ini", text);
  LoadSettings();
}

bool SlotsTerminated()
{
  for (int i = 0; i < SettingsMaxLines; i++)
    if (!memchr(SettingsLines[i], 0, SettingsLineSize))
      return false;
  return true;
}

TEST(ShellSettings, SyntaxSpacesCasePrefixLastLineAtofAndCarriageReturn)
{
  LoadFrom("A comment line\n"
           " screen w = 1 024 \n"
           "Screenh=111\n"
           "screenwidth=222\n"
           "screenh=600px\r\n"
           "fullscreen=1\n"
           "screenbpp=31.9\n"
           "fullscreen=0\n"
           "showcursor=yes\n"
           "antialiasing=-1\n"
           "mipmapping=0.5\n"
           "ghost=1\n"
           "ghost = 0\n"
           "screenh\t=5\n");
  EXPECT_EQ(SettingsLineCount, SettingsMaxLines);
  EXPECT_STREQ(SettingsLines[1], "screenw=1024");
  EXPECT_FLOAT_EQ(ScreenWidth, 1024);
  EXPECT_FLOAT_EQ(ScreenHeight, 600);
  EXPECT_EQ(ScreenDepth, 31);
  EXPECT_FALSE(Settings.fullscreen);
  EXPECT_FALSE(Settings.showcursor);
  EXPECT_TRUE(Settings.antialiasing);
  EXPECT_TRUE(Settings.mipmapping);
  EXPECT_FALSE(Settings.ghost);
  EXPECT_FLOAT_EQ(AspectRatio, 1024.0f / 600.0f);
  EXPECT_FLOAT_EQ(SettingValue("screenwidth"), 222);
  EXPECT_FLOAT_EQ(SettingValue("nosuchkey"), 0);
}

TEST(ShellSettings, MissingFileAndOnlyTheFirstLinesCount)
{
  {
    ScratchDir empty;
    ScreenWidth = 5;
    LoadSettings();
  }
  EXPECT_EQ(SettingsLineCount, 0);
  EXPECT_FLOAT_EQ(ScreenWidth, 0);
  EXPECT_FALSE(Settings.mipmapping);
  EXPECT_TRUE(Settings.ghost);   // the one key that is on when missing

  std::string text;
  for (int line = 1; line <= SettingsMaxLines + 50; line++)
    text += line == SettingsMaxLines ? "screenw=640\n" : line == SettingsMaxLines + 1 ? "screenw=999\n"
          : line == SettingsMaxLines + 50 ? "fullscreen=1\n" : "#\n";
  LoadFrom(text);
  EXPECT_FLOAT_EQ(ScreenWidth, 640);
  EXPECT_FALSE(Settings.fullscreen);
  EXPECT_TRUE(Settings.ghost);

  LoadFrom("screenh=480");
  EXPECT_FLOAT_EQ(ScreenHeight, 480);
  EXPECT_STREQ(SettingsLines[1], "");
  EXPECT_STREQ(SettingsLines[SettingsMaxLines - 1], "");
}

TEST(ShellSettings, OverlongLinesAreCutAndTheirRestDropped)
{
  // 300 characters whose tail would read as a setting if it became a line.
  std::string longLine = "screenw=320." + std::string(244, '0');
  longLine += "screenh=999" + std::string(300 - longLine.size() - 11, 'x');
  std::string text = longLine + "\nshowcursor=1\n";
  for (int i = 0; i < SettingsMaxLines - 3; i++)
    text += "#\n";
  text += "mipmapping=1\nantialiasing=1\n";  // the last line read and the one after

  LoadFrom(text);
  EXPECT_TRUE(SlotsTerminated());
  EXPECT_EQ(strlen(SettingsLines[0]), 255u);
  EXPECT_FLOAT_EQ(ScreenWidth, 320);
  EXPECT_FLOAT_EQ(ScreenHeight, 0);
  EXPECT_TRUE(Settings.showcursor);
  EXPECT_TRUE(Settings.mipmapping);
  EXPECT_FALSE(Settings.antialiasing);
  EXPECT_STREQ(SettingsLines[1], "showcursor=1");

  // The cut counts the spaces, which go only after it.
  LoadFrom(std::string(200, ' ') + "screenw=12" + std::string(200, ' ') + "\n" +
           std::string(250, ' ') + "screenh=34\n");
  EXPECT_TRUE(SlotsTerminated());
  EXPECT_FLOAT_EQ(ScreenWidth, 12);
  EXPECT_FLOAT_EQ(ScreenHeight, 0);
}

TEST(ShellSettings, ValuesOutsideTheirRangeReadAsMissing)
{
  LoadFrom("screenw=1e12\nscreenh=nan\nscreenbpp=-1e20\nfullscreen=inf\n"
           "showcursor=1e30\nantialiasing=-nan\nmipmapping=-1e9\n");
  EXPECT_FLOAT_EQ(ScreenWidth, 0);
  EXPECT_FLOAT_EQ(ScreenHeight, 0);
  EXPECT_EQ(ScreenDepth, 0);
  EXPECT_FALSE(Settings.fullscreen);
  EXPECT_FALSE(Settings.showcursor);
  EXPECT_FALSE(Settings.antialiasing);
  EXPECT_TRUE(Settings.mipmapping);
  EXPECT_TRUE(std::isnan(AspectRatio));

  LoadFrom("screenw=-800\nscreenh=16385\nscreenbpp=33\n");
  EXPECT_FLOAT_EQ(ScreenWidth, 0);
  EXPECT_FLOAT_EQ(ScreenHeight, 0);
  EXPECT_EQ(ScreenDepth, 0);

  LoadFrom("screenw=16384\nscreenh=1\nscreenbpp=32\n");
  EXPECT_FLOAT_EQ(ScreenWidth, 16384);
  EXPECT_FLOAT_EQ(ScreenHeight, 1);
  EXPECT_EQ(ScreenDepth, 32);
}

// The shipped file lists every setting, the display's as shipped and the rest
// at their defaults: as it is it changes no default and names no unknown key;
// with keys set to F12, pad numbers to none and the rest to 0, every one changes.
TEST(ShellSettings, ShippedFileListsEverySettingAtItsDefault)
{
  std::string shipped = ReadFile(REPO_ROOT "/settings.ini"), changed, line;
  EXPECT_LE(std::count(shipped.begin(), shipped.end(), '\n'), SettingsMaxLines);
  LoadFrom(shipped);
  testing::internal::CaptureStderr();
  LoadKeyBindings();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(memcmp(&Bindings, &DefaultBindings, sizeof Bindings), 0);
  EXPECT_TRUE(Settings.sound == SettingsDefaultSound && Settings.music == SettingsDefaultMusic);
  EXPECT_TRUE(Settings.ghost && HintsEnabled && Settings.mipmapping && ScreenWidth == 1280);

  for (std::istringstream lines(shipped); std::getline(lines, line); changed += "\n") {
    size_t eq = line.find('=');
    bool pad = line.rfind("pad_", 0) == 0 && line.find("dead") == std::string::npos;
    changed += eq == std::string::npos ? line : line.substr(0, eq) + (line.rfind("key_", 0) == 0 ? "=f12" : pad ? "=none" : "=0");
  }
  LoadFrom(changed);
  LoadKeyBindings();
  KeyBindings changedBindings;
  memset(&changedBindings, 0xff, sizeof changedBindings);   // every pad number NoBinding
  for (int a = 0; a < KeyActionCount; a++)
    changedBindings.key[a][0] = changedBindings.key[a][1] = SDLK_F12;
  changedBindings.deadZone = 0;
  EXPECT_EQ(memcmp(&Bindings, &changedBindings, sizeof Bindings), 0);
  EXPECT_TRUE(Settings.sound == 0 && Settings.music == 0 && !Settings.ghost && !HintsEnabled);
  EXPECT_TRUE(!Settings.mipmapping && ScreenWidth == 0 && ScreenHeight == 0);
}

}  // namespace
