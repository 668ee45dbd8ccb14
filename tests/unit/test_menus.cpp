// Menu cursor, scrolling and state changes (the cell range the scene draws: test_scene.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "game/base/controls.h"
#include "game/base/places.h"
#include "game/base/screen.h"
#include "game/files/level_files.h"
#include "game/files/level_slots.h"
#include "game/online/online_queue.h"
#include "game/play/world.h"
#include "platform/input.h"
#include "platform/keymap.h"
#include "test_support.h"
#include "ui/editor.h"
#include "ui/level_note.h"
#include "ui/menus.h"
#include "ui/run_flow.h"
#include "ui/scene.h"

namespace {

void EnterState(int state)
{
  ShowScreen(state);
  MenuCursor = 0;
  MenuFirstRow = 0;
  CurrentLevel = 9;
}

// One menu frame with the given keys pressed (-1: none) and wheel steps;
// resets the cursor on a state change as the frame dispatch does.
void Frame(int key1, int key2 = -1, int wheel = 0)
{
  int before = ScreenNow();
  memset(&InputState, 0, sizeof(InputState));
  for (int key : {key1, key2})
    if (key >= 0)
      InputState.KeyState[key] = InputPressed;
  InputState.WheelSteps = wheel;
  ReadControls(DefaultBindings);
  MenuInput();
  if (ScreenNow() != before) {
    MenuCursor = 0;
    MenuFirstRow = 0;
  }
}

void Frames(std::initializer_list<int> keys)
{
  for (int key : keys)
    Frame(key);
}

// A catalogue of count existing slots, without files.
void SetLevels(int count)
{
  for (int s = 0; s < MaxLevels; s++)
    LevelExists[s] = s < count;
  HighestLevel = count;
}

// Level files 1..count in the working directory, level n being n + 2 cells wide.
void WriteLevels(int count)
{
  for (int n = 1; n <= count; n++) {
    std::string row(n + 2, 'a');
    WriteLevel(n, "Room\n" + std::to_string(n + 2) + "\n2\nj" + row.substr(1) + "\n" + row + "\n");
  }
}

// One menu frame with the mouse pointer at window pixel (x, y) of 800 x 600.
void PointerFrame(int x, int y, bool click, int key = -1)
{
  memset(&InputState, 0, sizeof(InputState));
  InputState.MouseX = x;
  InputState.MouseY = y;
  InputState.MouseButtonState[ButtonLeft] = click ? InputPressed : InputUp;
  if (key >= 0)
    InputState.KeyState[key] = InputPressed;
  ReadControls(DefaultBindings);
  MenuInput();
}

}  // namespace

TEST(Menus, PointerLightsTheRowItMovesOntoAndAClickChoosesIt)
{
  ScreenWidth = 800;
  ScreenHeight = 600;
  AspectRatio = ScreenWidth / ScreenHeight;
  const int EditY = 219, QuitY = 428, GapY = 376, ListRow2Y = 309, OffRowsY = 120;
  EnterState(gamestate_title);
  MouseInWindow = false;
  PointerFrame(400, QuitY, false);
  EXPECT_EQ(MenuCursor, 0) << "coming into the window onto a row is no move";
  MouseInWindow = true;
  PointerFrame(400, EditY, false);
  EXPECT_EQ(MenuCursor, 1) << "moved onto Edit";
  PointerFrame(400, EditY, false, KeyUp);
  EXPECT_EQ(MenuCursor, 0) << "a pointer resting on a row leaves the keys in charge";
  PointerFrame(400, OffRowsY, false);
  PointerFrame(400, GapY, false);   // the gap before Quit, on no row
  EXPECT_EQ(MenuCursor, 0) << "moving off the rows changes nothing";
  PointerFrame(400, QuitY, true);
  EXPECT_TRUE(QuitRequested) << "a click on Quit ends the program";
  QuitRequested = false;

  ScratchDir dir;
  WriteLevels(3);
  LoadLevelCatalogue();
  EnterState(gamestate_playlist);
  PointerFrame(400, ListRow2Y, true);
  EXPECT_EQ(ScreenNow(), gamestate_playing);
  EXPECT_EQ(CurrentLevel, 3);
  MouseInWindow = false;
}

TEST(Menus, TitleScreenMovesClampsAndChooses)
{
  EnterState(gamestate_title);
  Frame(KeyUp);
  EXPECT_EQ(MenuCursor, 0);
  HubAddress[0] = 0;
  Frame(KeyS);
  Frame(KeyDown);
  EXPECT_EQ(MenuCursor, 3) << "without a hub the Online row is passed over";
  Frame(KeyDown);
  Frame(KeyDown);
  EXPECT_EQ(MenuCursor, 4) << "Quit, the last entry";
  Frame(KeyUp, KeyDown);
  EXPECT_EQ(MenuCursor, 4);
  Frame(KeyB);
  EXPECT_EQ(ScreenNow(), gamestate_title);

  Frame(KeyUp);
  Frame(KeySpace);
  EXPECT_EQ(ScreenNow(), gamestate_options);
  EnterState(gamestate_title);
  strcpy(HubAddress, "http://127.0.0.1:9");
  Frame(KeyDown);
  Frame(KeyDown);
  EXPECT_EQ(MenuCursor, 2) << "with a hub it is a row like the others";
  Frame(KeySpace);
  EXPECT_EQ(ScreenNow(), gamestate_online);
  HubAddress[0] = 0;
  EnterState(gamestate_title);
  Frame(KeyDown);
  Frame(KeySpace);
  EXPECT_EQ(ScreenNow(), gamestate_editlist);
  EnterState(gamestate_title);
  Frame(KeyReturn);
  EXPECT_EQ(ScreenNow(), gamestate_playlist);
}

TEST(Menus, FifteenLevelFilesScrollOneRowAtATime)
{
  ScratchDir dir;
  WriteLevels(ShippedLevelCount);
  LoadLevelCatalogue();
  ASSERT_EQ(HighestLevel, 15);
  EnterState(gamestate_playlist);

  for (int i = 1; i <= 15; i++) {
    Frame(KeyDown);
    EXPECT_EQ(MenuCursor, std::min(i, 14));
    EXPECT_EQ(MenuFirstRow, i < 6 ? 0 : std::min(i - 5, 9)) << "after press " << i;
  }
  Frame(KeyUp, KeyDown);
  EXPECT_EQ(MenuCursor, 14);
  EXPECT_EQ(MenuFirstRow, 9);
  for (int i = 13; i >= -1; i--) {
    Frame(KeyW);
    EXPECT_EQ(MenuCursor, std::max(i, 0));
    EXPECT_EQ(MenuFirstRow, std::clamp(i, 0, 9)) << "after moving up to " << i;
  }

  for (int i = 0; i < 14; i++)
    Frame(KeyDown);
  Frame(KeyReturn);
  EXPECT_EQ(ScreenNow(), gamestate_playing);
  EXPECT_EQ(CurrentLevel, 15);
  EXPECT_EQ(LevelWidth, 17);
  EXPECT_FLOAT_EQ(Ball.x, 0.5f);
}

// With all fifteen shipped levels, levels up to 999 follow them in both lists,
// every key and the wheel reach them, and "New level" takes slot 16 afresh.
TEST(Menus, LevelsPastTheShippedOnesAreListedReachedAndMade)
{
  ScratchDir dir;
  WriteLevels(ShippedLevelCount);
  for (int n : {998, 999})
    WriteLevel(n, "Far\n1\n1\nj\n");
  for (const char* stale : {"Levels/level16.score", "Levels/level16.ghost"})
    WriteFile(stale, std::string("\x07\0\0\0", 4));
  LoadLevelCatalogue();
  EnterState(gamestate_editlist);
  const struct { int key, wheel, cursor, firstRow; } moves[] = {
    {KeyEnd, 0, 17, 12}, {KeyPageUp, 0, 11, 11}, {KeyHome, 0, 0, 0}, {-1, 3, 3, 3}, {-1, -1, 3, 2},
    {-1, 99, 12, 12}, {KeyPageDown, 0, 17, 12}, {KeyUp, 0, 16, 12}, {KeyDown, 0, 17, 12}};
  for (const auto& m : moves) {
    Frame(m.key, -1, m.wheel);
    EXPECT_TRUE(MenuCursor == m.cursor && MenuFirstRow == m.firstRow) << m.key << " " << m.wheel;
  }
  Frame(KeyReturn);   // "New level", saved at once with B
  ASSERT_EQ(CurrentLevel, 16);
  Controls.menuBack = true;
  EditorUpdate(1);
  EXPECT_EQ(ReadFile("Levels/level16.dat").substr(0, 9), "Level 16\n");
  EXPECT_FALSE(LevelBest[15] || std::filesystem::exists("Levels/level16.score") ||
               std::filesystem::exists("Levels/level16.ghost"));
  EnterState(gamestate_playlist);
  Frames({KeyEnd, KeyReturn});
  EXPECT_EQ(CurrentLevel, 999);
  SetLevels(MaxLevels);   // every slot taken: no "New level", the last row is level 999
  EnterState(gamestate_editlist);
  Frame(KeyEnd);
  EXPECT_TRUE(MenuCursor == MaxLevels - 1 && LevelOfRow(MenuCursor, false) == 999);
}

TEST(Menus, FewLevelsBoundTheCursor)
{
  // Eight levels: the cursor stops at the "New level" row after level 8
  // with level 4 in the first row.
  SetLevels(8);
  EnterState(gamestate_editlist);
  for (int i = 0; i < 20; i++)
    Frame(KeyDown);
  EXPECT_EQ(MenuCursor, 8);
  EXPECT_EQ(MenuFirstRow, 3);
  for (int i = 0; i < 20; i++)
    Frame(KeyUp);
  EXPECT_EQ(MenuCursor, 0);
  EXPECT_EQ(MenuFirstRow, 0);

  // No levels: six rows stay, the cursor stops on the sixth, Choose does nothing.
  SetLevels(0);
  EnterState(gamestate_playlist);
  for (int i = 0; i < 10; i++)
    Frame(KeyDown);
  EXPECT_EQ(MenuCursor, 5);
  EXPECT_EQ(MenuFirstRow, 0);
  Frame(KeyReturn);
  EXPECT_EQ(ScreenNow(), gamestate_playlist);
  EXPECT_EQ(CurrentLevel, 9);
}

TEST(Menus, ChooseStartsOnlyExistingSlotsAndBackWins)
{
  ScratchDir dir;
  WriteLevels(3);
  remove("Levels/level2.dat");
  LoadLevelCatalogue();
  ASSERT_FALSE(LevelExists[1]);

  EnterState(gamestate_playlist);
  Frame(KeyDown);
  Frame(KeySpace);
  EXPECT_EQ(ScreenNow(), gamestate_playlist);
  EXPECT_EQ(CurrentLevel, 9);
  Frame(KeyDown);
  Frame(KeySpace);
  EXPECT_EQ(ScreenNow(), gamestate_playing);
  EXPECT_EQ(CurrentLevel, 3);
  EXPECT_EQ(LevelWidth, 5);

  EnterState(gamestate_editlist);
  Frame(KeyReturn);
  EXPECT_EQ(ScreenNow(), gamestate_editing);
  EXPECT_EQ(CurrentLevel, 1);

  EnterState(gamestate_playlist);
  Frame(KeyB, KeyReturn);
  EXPECT_EQ(ScreenNow(), gamestate_title);
  EXPECT_EQ(CurrentLevel, 9);
}

// Level files gone missing or turned into folders since the list was made
// start nothing from either list, nor is a level without a spawn played; the
// note says why until the highlight moves.
TEST(Menus, UnreadableLevelsStayOnTheListWithTheirReason)
{
  ScratchDir dir;
  WriteLevels(3);
  WriteLevel(4, "Empty\n2\n1\nalj\n");   // its spawn lies past its width: none
  LoadLevelCatalogue();
  remove("Levels/level2.dat");
  remove("Levels/level3.dat");
  std::filesystem::create_directory("Levels/level3.dat");
  for (int list : {gamestate_playlist, gamestate_editlist}) {
    EnterState(list);
    Frame(KeyDown);
    Frame(KeyReturn);
    EXPECT_STREQ(LevelNote, "Level 2 cannot be read: its file is missing");
    Frame(KeyDown);
    EXPECT_STREQ(LevelNote, "");
    Frame(KeySpace);
    EXPECT_STREQ(LevelNote, "Level 3 cannot be read: its file is a folder");
    EXPECT_EQ(ScreenNow(), list);
    Frames({KeyDown, KeyReturn});
    EXPECT_EQ(ScreenNow(), list == gamestate_playlist ? list : gamestate_editing);
  }
  EXPECT_FALSE(PlayLevel(4)) << "the results card's R and N start it";
  EXPECT_STREQ(LevelNote, "Level 4 cannot be played: it has no spawn");
}

// Delete asks first, then removes a level of the player's own with its best
// and ghost, or puts back the shipped version of one the player changed;
// shipped levels stay, in the repository layout and in the installed one.
TEST(Menus, DeleteAsksThenRemovesOwnLevelsAndRestoresChangedOnes)
{
  struct Guard {
    PlacesRecord saved = Places;
    ~Guard() { Places = saved; }
  } guard;
  ScratchDir dir;
  for (const char* level : {"Shipped/level1.dat", "Shipped/level2.dat", "Levels/level2.dat", "Levels/level16.dat"})
    WriteFile(level, std::string(level) + "\n1\n1\nj\n");
  for (const char* kept : {"Levels/level2.score", "Levels/level16.score", "Levels/level16.ghost"})
    WriteFile(kept, std::string("\x09\0\0\0", 4));
  LoadLevelCatalogue();   // the repository: Levels/ holds the shipped levels 1..15
  EnterState(gamestate_editlist);
  Frames({KeyDown, KeyDelete, KeyDelete});
  EXPECT_TRUE(std::filesystem::exists("Levels/level2.dat"));
  snprintf(Places.shippedLevels, PathSize, "%s", "Shipped");   // installed
  LoadLevelCatalogue();
  EnterState(gamestate_editlist);
  Frames({KeyDelete, KeyDelete});
  EXPECT_STREQ(LevelNote, "Level 1 comes with the game and cannot be deleted");
  Frames({KeyDown, KeyDelete});
  EXPECT_STREQ(LevelNote, "Press Delete again to restore the shipped level 2");
  Frame(KeyDelete);
  EXPECT_STREQ(LevelNote, "Level 2 is the shipped version again");
  EXPECT_FALSE(std::filesystem::exists("Levels/level2.dat"));
  EXPECT_TRUE(strcmp(LevelTitles[1], "Shipped/level2.dat\n") == 0 && LevelBest[1] == 9);

  // Level 16 follows levels 1 and 2; moving away and back takes the
  // question with it, so the next press only asks again.
  Frames({KeyEnd, KeyUp, KeyDelete, KeyUp, KeyDown, KeyDelete});
  EXPECT_TRUE(LevelExists[15]);
  Frame(KeyDelete);
  EXPECT_STREQ(LevelNote, "Level 16 deleted");
  EXPECT_FALSE(LevelExists[15] || LevelBest[15] || std::filesystem::exists("Levels/level16.dat") ||
               std::filesystem::exists("Levels/level16.score") || std::filesystem::exists("Levels/level16.ghost"));
  EXPECT_EQ(MenuCursor, LevelRowCount(false)) << "the cursor stays on its row, now \"New level\"";
}
