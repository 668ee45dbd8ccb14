// Options kept: the settings writer's line edits, a full file and a failed
// save; rebinding a key or pad button by swapping.
#include <gtest/gtest.h>

#include <string>
#include <cstring>
#include <sys/stat.h>

#include "game/assists.h"
#include "game/controls.h"
#include "game/key_rebind.h"
#include "game/places.h"
#include "game/settings.h"
#include "game/settings_write.h"
#include "test_support.h"

namespace {

TEST(Options, SettingsWriterKeepsOtherLinesAndNeverLosesTheFile)
{
  ScratchDir dir;
  PlacesRecord home = Places;
  std::string kept = "# sound first\r\nfoo bar\nmu sic = 30\r\nsoundx = 1\n";
  WriteFile("settings.ini", kept + "music=40\nlast line, no feed");
  LoadSettings();
  EXPECT_TRUE(WriteSetting("music", "70"));
  EXPECT_TRUE(WriteSetting("sound", "10"));
  EXPECT_EQ(ReadFile("settings.ini"), kept + "music = 70\nlast line, no feed\nsound = 10\n");
  EXPECT_STREQ(SettingText("music"), "70");
  EXPECT_STREQ(SettingText("sound"), "10");

  // Line 100 in use: a missing key cannot be added where the reader would see it;
  // a present one on line 100 is replaced.
  std::string full;
  for (int i = 1; i < SettingsMaxLines; i++)
    full += "# " + std::to_string(i) + "\n";
  WriteFile("settings.ini", full + "ghost = 1\n# line 101\n");
  EXPECT_FALSE(WriteSetting("hints", "0"));
  EXPECT_EQ(SettingsWriteError, SettingsFileFull);
  EXPECT_TRUE(WriteSetting("ghost", "0"));
  EXPECT_EQ(ReadFile("settings.ini"), full + "ghost = 0\n# line 101\n");

  // The temporary file cannot be made (a folder has its name): the old file stays whole.
  WriteFile("user/settings.ini", kept);
  mkdir("user/settings.ini.tmp", 0700);
  snprintf(Places.userSettings, sizeof Places.userSettings, "%s", "user");
  EXPECT_FALSE(WriteSetting("music", "0"));
  EXPECT_NE(SettingsWriteError, 0);
  EXPECT_EQ(ReadFile("user/settings.ini"), kept);
  EXPECT_STREQ(SettingText("music"), "0");   // kept for the session
  Places = home;
}

// Each key is on one action at most, and every action that had a key keeps one.
void ExpectSound(const KeyBindings& b)
{
  for (int a = 0; a < KeyActionCount; a++) {
    EXPECT_TRUE(b.key[a][0] != NoBinding || b.key[a][1] != NoBinding) << a;
    for (int s = 0; s < 2; s++)
      for (int c = 0; c < KeyActionCount * 2; c++) {
        bool other = c != a * 2 + s && b.key[a][s] != NoBinding;
        EXPECT_FALSE(other && b.key[a][s] == b.key[c / 2][c % 2]) << a << " " << c;
      }
  }
}

TEST(Options, RebindingSwapsAndNeverLeavesAnActionWithoutAKey)
{
  KeyBindings b = DefaultBindings;
  int lastKey = b.key[bind_test][0];
  EXPECT_TRUE(RebindKey(&b, bind_left, 0, lastKey));   // first action takes the last one's key
  EXPECT_EQ(b.key[bind_test][0], DefaultBindings.key[bind_left][0]);
  EXPECT_TRUE(RebindKey(&b, bind_test, 1, b.key[bind_left][1]));   // the empty alt slot takes A
  EXPECT_TRUE(b.key[bind_left][0] == lastKey && b.key[bind_left][1] == NoBinding);
  ExpectSound(b);

  KeyBindings before = b;
  EXPECT_FALSE(RebindKey(&b, bind_jump, 1, b.key[bind_left][0]));   // Left's last key stays
  EXPECT_EQ(memcmp(&b, &before, sizeof b), 0);
  EXPECT_TRUE(RebindKey(&b, bind_jump, 1, b.key[bind_jump][0]));    // within one action: a move
  EXPECT_TRUE(b.key[bind_jump][0] == NoBinding && b.key[bind_jump][1] == KeySpace);
  ExpectSound(b);

  EXPECT_TRUE(RebindPadButton(&b, padbind_jump, b.padButton[PadButtonActionCount - 1]));
  EXPECT_EQ(b.padButton[PadButtonActionCount - 1], DefaultBindings.padButton[padbind_jump]);
  b.padButton[padbind_back] = NoBinding;
  EXPECT_FALSE(RebindPadButton(&b, padbind_back, b.padButton[padbind_jump]));
}

// Tether as toggle: a click latches, the next lets go shooting nothing;
// "speed" off its steps is 100.
TEST(Options, AssistsLatchTheTetherAndReadTheSpeed)
{
  SettingsRecord kept = Settings;
  Settings.tetherToggle = true;
  Settings.speed = SettingsMinSpeed;
  StartAssistedRun();
  const bool presses[][2] = {{true, true}, {false, false}, {true, true}, {false, false}};
  const bool latched[] = {true, true, false, false};
  for (int f = 0; f < 4; f++) {
    Controls.tether = presses[f][0];
    Controls.tetherShot = presses[f][1];
    ApplyAssists();
    EXPECT_TRUE(Controls.tether == latched[f] && Controls.tetherShot == (f == 0)) << f;
  }
  EXPECT_TRUE(RunAssisted);
  for (const char* speed : {"speed=45\n", "speed=110\n", "speed=55\n", "speed=50\n"}) {
    ScratchDir dir;
    WriteFile("settings.ini", speed);
    LoadSettings();
    EXPECT_EQ(Settings.speed, speed[7] == '0' ? 50 : 100) << speed;
  }
  Settings = kept;
  StartAssistedRun();
}

}  // namespace
