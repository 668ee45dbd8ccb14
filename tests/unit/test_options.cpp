// Options kept: the settings writer's line edits, a full file and a failed
// save; rebinding a key or pad button by swapping.
#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <string>
#include <cstring>
#include <sys/stat.h>

#include "game/base/controls.h"
#include "game/base/lang.h"
#include "game/base/places.h"
#include "game/play/hints.h"
#include "game/settings/assists.h"
#include "game/settings/key_rebind.h"
#include "game/settings/options.h"
#include "game/settings/settings.h"
#include "game/settings/settings_write.h"
#include "test_support.h"
#include "ui/options_screen.h"

namespace {

using namespace std::string_literals;

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

  // Odd bytes (NULs, a lone carriage return, bytes above 127, a line longer than the
  // reader's slot, no last line feed) stay byte for byte; only the changed line differs.
  const std::string head = "# a \0 in a comment\n\x01\x7f\xff\r\n"s;
  const std::string tail = std::string(300, 'l') + "\n" + "\0=1\n last\0"s;
  WriteFile("settings.ini", head + "music = 1\n" + tail);
  LoadSettings();
  EXPECT_TRUE(WriteSetting("music", "70"));
  EXPECT_TRUE(WriteSetting("sound", "10"));
  EXPECT_EQ(ReadFile("settings.ini"), head + "music = 70\n" + tail + "\nsound = 10\n");

  // The last line in use: a missing key cannot be added where the reader would see it;
  // a present one there is replaced.
  std::string full;
  for (int i = 1; i < SettingsMaxLines; i++)
    full += "# " + std::to_string(i) + "\n";
  WriteFile("settings.ini", full + "ghost = 1\n# line 129\n");
  EXPECT_FALSE(WriteSetting("hints", "0"));
  EXPECT_EQ(SettingsWriteError, SettingsFileFull);
  EXPECT_TRUE(WriteSetting("ghost", "0"));
  EXPECT_EQ(ReadFile("settings.ini"), full + "ghost = 0\n# line 129\n");

  // The new file cannot be written whole (the disk takes no more): the old file stays whole.
  WriteFile("user/settings.ini", kept);
  snprintf(Places.userSettings, sizeof Places.userSettings, "%s", "user");
  {
    FileSizeLimit full(kept.size() / 2);
    EXPECT_FALSE(WriteSetting("music", "0"));
  }
  EXPECT_EQ(SettingsWriteError, EFBIG);
  EXPECT_EQ(ReadFile("user/settings.ini"), kept);
  EXPECT_EQ(TempFilesOf("user/settings.ini"), 0);
  EXPECT_STREQ(SettingText("music"), "0");   // kept for the session
  Places = home;
}

// Row by row down to the last, and End straight there: every row has a name of its own
// and a text in each column it shows.
TEST(Options, EveryRowDownToTheLastHasANameAndItsValues)
{
  std::set<std::string> names;
  char text[OptionTextSize];
  OpenOptions(false);
  for (int row = 0; row < OptionRowCount; row++) {
    ASSERT_EQ(Options.row, row);
    const char* name = OptionLabel(row);
    ASSERT_TRUE(name && *name) << "row " << row;
    names.insert(name);
    for (int c = 0; c < OptionColumns; c++)
      OptionValueText(row, c, text, sizeof text);   // a row without a column answers an empty text
    memset(&Controls, 0, sizeof Controls);
    Controls.menuDown = true;
    OptionsInput();
  }
  EXPECT_EQ(Options.row, OptionRowCount - 1);
  EXPECT_EQ((int)names.size(), OptionRowCount);
  OpenOptions(false);
  memset(&Controls, 0, sizeof Controls);
  Controls.listEnd = true;
  OptionsInput();
  EXPECT_EQ(Options.row, OptionRowCount - 1);
  memset(&Controls, 0, sizeof Controls);
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

// Restore defaults after every option was moved: the file then reads as the
// shipped one; and every cell the screen can light shows a value.
TEST(Options, RestoreDefaultsPutsBackEveryOptionInTheFile)
{
  ScratchDir dir;
  SettingsRecord kept = Settings;
  bool hints = HintsEnabled;
  WriteFile("settings.ini", ReadFile(REPO_ROOT "/settings.ini"));
  LoadSettings();
  LoadKeyBindings();
  SettingsRecord shipped = Settings;
  StepOption(optrow_sound, -1);
  StepOption(optrow_music, 1);
  StepOption(optrow_speed, -1);
  StepOption(optrow_language, 1);
  for (int row : {optrow_fullscreen, optrow_hints, optrow_ghost, optrow_tether, optrow_flashing})
    ChooseOption(row, 0);
  EXPECT_TRUE(RebindKey(&Bindings, bind_jump, 1, KeyF1 + 6) && RebindPadButton(&Bindings, padbind_jump, 3));
  EXPECT_TRUE(SaveKeyBindings(&Bindings));
  ChooseOption(optrow_defaults, 0);
  EXPECT_EQ(Options.note, optnote_restored);
  LoadSettings();
  LoadKeyBindings();
  EXPECT_TRUE(Settings.sound == shipped.sound && Settings.music == shipped.music && Settings.speed == shipped.speed);
  EXPECT_TRUE(!Settings.fullscreen && Settings.ghost && HintsEnabled && !Settings.tetherToggle && !Settings.reduceFlashing);
  EXPECT_STREQ(Settings.language, shipped.language);
  EXPECT_EQ(memcmp(&Bindings, &DefaultBindings, sizeof Bindings), 0);
  for (int row = 0; row < OptionRowCount; row++)
    for (int c = 0; c < OptionCells(row) && row < OptionSettingRows; c++) {
      char value[OptionTextSize];
      OptionValueText(row, c, value, sizeof value);
      EXPECT_STRNE(value, "") << "row " << row << " lights an empty cell";
    }
  Settings = kept;
  HintsEnabled = hints;
  UseLanguage("en");
  Options = OptionsRecord{};
}

}  // namespace
