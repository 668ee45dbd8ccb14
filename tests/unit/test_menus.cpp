// Menu cursor, scrolling and state changes, and the cell range the scene draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/host.h"
#include "app/input.h"
#include "app/keymap.h"
#include "app/video.h"
#include "game/level_files.h"
#include "game/world.h"
#include "test_support.h"
#include "ui/level_note.h"
#include "ui/menus.h"
#include "ui/scene.h"

namespace {

void EnterState(int state)
{
  GameState = state;
  MenuCursor = 0;
  MenuFirstRow = 0;
  CurrentLevel = 9;
}

// One menu frame with the given keys pressed; resets the cursor on a state
// change as the frame dispatch does.
void Frame(int key1, int key2 = -1)
{
  int before = GameState;
  memset(&InputState, 0, sizeof(InputState));
  InputState.KeyState[key1] = InputPressed;
  if (key2 >= 0)
    InputState.KeyState[key2] = InputPressed;
  ReadControls(DefaultBindings);
  MenuInput();
  if (GameState != before) {
    MenuCursor = 0;
    MenuFirstRow = 0;
  }
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
  const int PlayY = 204, EditY = 257, QuitY = 362, ListRow2Y = 309, OffRowsY = 150;
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
  PointerFrame(400, PlayY + 100, false);   // between the rows' bars, on none
  EXPECT_EQ(MenuCursor, 0) << "moving off the rows changes nothing";
  PointerFrame(400, QuitY, true);
  EXPECT_TRUE(QuitRequested) << "a click on Quit ends the program";
  QuitRequested = false;

  ScratchDir dir;
  WriteLevels(3);
  LoadLevelCatalogue();
  EnterState(gamestate_playlist);
  PointerFrame(400, ListRow2Y, true);
  EXPECT_EQ(GameState, gamestate_playing);
  EXPECT_EQ(CurrentLevel, 3);
  MouseInWindow = false;
}

TEST(Menus, TitleScreenMovesClampsAndChooses)
{
  EnterState(gamestate_title);
  Frame(KeyUp);
  EXPECT_EQ(MenuCursor, 0);
  Frame(KeyS);
  Frame(KeyDown);
  Frame(KeyDown);
  EXPECT_EQ(MenuCursor, 2);
  Frame(KeyUp, KeyDown);
  EXPECT_EQ(MenuCursor, 2);
  Frame(KeyB);
  EXPECT_EQ(GameState, gamestate_title);

  Frame(KeyUp);
  Frame(KeySpace);
  EXPECT_EQ(GameState, gamestate_editlist);
  EnterState(gamestate_title);
  Frame(KeyReturn);
  EXPECT_EQ(GameState, gamestate_playlist);
}

TEST(Menus, FifteenLevelFilesScrollOneRowAtATime)
{
  ScratchDir dir;
  WriteLevels(MaxLevels);
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
  EXPECT_EQ(GameState, gamestate_playing);
  EXPECT_EQ(CurrentLevel, 15);
  EXPECT_EQ(LevelWidth, 17);
  EXPECT_FLOAT_EQ(Ball.x, 0.5f);
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
  EXPECT_EQ(GameState, gamestate_playlist);
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
  EXPECT_EQ(GameState, gamestate_playlist);
  EXPECT_EQ(CurrentLevel, 9);
  Frame(KeyDown);
  Frame(KeySpace);
  EXPECT_EQ(GameState, gamestate_playing);
  EXPECT_EQ(CurrentLevel, 3);
  EXPECT_EQ(LevelWidth, 5);

  EnterState(gamestate_editlist);
  Frame(KeyReturn);
  EXPECT_EQ(GameState, gamestate_editing);
  EXPECT_EQ(CurrentLevel, 1);

  EnterState(gamestate_playlist);
  Frame(KeyB, KeyReturn);
  EXPECT_EQ(GameState, gamestate_title);
  EXPECT_EQ(CurrentLevel, 9);
}

// Level files gone missing or turned into folders since the list was made
// start nothing from either list; its note says why until the highlight moves.
TEST(Menus, UnreadableLevelsStayOnTheListWithTheirReason)
{
  ScratchDir dir;
  WriteLevels(3);
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
    EXPECT_EQ(GameState, list);
  }
}

TEST(Scene, CellRangeCoversTheViewAndStaysInTheLevel)
{
  LevelWidth = 40;
  LevelHeight = 30;
  AspectRatio = 4.0f / 3.0f;
  Camera.viewHeight = PlayViewHeight;
  float halfW = Camera.viewHeight * AspectRatio / 2;
  float halfH = Camera.viewHeight / 2;

  for (float cx = -12.0f; cx <= 52.0f; cx += 0.37f) {
    for (float cy = -9.0f; cy <= 39.0f; cy += 0.53f) {
      Camera.camX = cx;
      Camera.camY = cy;
      CellRange r = ViewCellRange();
      ASSERT_TRUE(r.x0 >= 0 && r.x1 <= LevelWidth && r.y0 >= 0 && r.y1 <= LevelHeight);
      // Culled: never much wider than the view itself.
      EXPECT_LE(r.x1 - r.x0, (int)std::ceil(2 * halfW) + 3);
      EXPECT_LE(r.y1 - r.y0, (int)std::ceil(2 * halfH) + 3);
      for (int x = 0; x < LevelWidth; x++) {
        for (int y = 0; y < LevelHeight; y++) {
          bool visible = x < cx + halfW && x + 1 > cx - halfW && y < cy + halfH &&
                         y + 1 > cy - halfH;
          if (visible) {
            ASSERT_TRUE(x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1)
                << "cell " << x << "," << y << " skipped at camera " << cx << "," << cy;
          }
        }
      }
    }
  }

  // A camera far away or broken shows nothing and reads nothing outside the grid.
  Camera.camX = 1e30f;
  CellRange r = ViewCellRange();
  EXPECT_EQ(r.x0, r.x1);
  Camera.camX = NAN;
  r = ViewCellRange();
  EXPECT_TRUE(r.x0 >= 0 && r.x1 <= LevelWidth);
}

TEST(Scene, ScoreIsTheCeilingOfTheTimeLeft)
{
  EXPECT_EQ(ScoreShown(299.2f), 300);
  EXPECT_EQ(ScoreShown(12.0f), 12);
  EXPECT_EQ(ScoreShown(0.4f), 1);
  EXPECT_EQ(ScoreShown(0.0f), 0);
}
