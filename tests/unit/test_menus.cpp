// Menu cursor, scrolling and state changes, and the cell range the scene draws.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "app/host.h"
#include "app/input.h"
#include "app/video.h"
#include "game/level_files.h"
#include "game/world.h"
#include "ui/menus.h"
#include "ui/scene.h"

namespace {

void EnterState(int state)
{
  GameState = state;
  MenuCursor = 0;
  MenuFirstRow = 0;
  memset(&InputState, 0, sizeof(InputState));
}

// One menu frame with the given keys pressed; resets the cursor on a state
// change as the frame dispatch does.
void Frame(int key1, int key2 = -1)
{
  int before = GameState;
  memset(InputState.KeyState, 0, sizeof(InputState.KeyState));
  InputState.KeyState[key1] = InputPressed;
  if (key2 >= 0)
    InputState.KeyState[key2] = InputPressed;
  MenuInput();
  if (GameState != before) {
    MenuCursor = 0;
    MenuFirstRow = 0;
  }
}

void SetLevels(int count)
{
  for (int s = 0; s < MaxLevels; s++) {
    LevelExists[s] = s < count;
    LevelTitles[s][0] = 0;
    LevelBest[s] = 0;
  }
  HighestLevel = count;
}

// Fresh working directory with level files 1..count, level n being n + 2 cells wide.
void WriteLevels(int count)
{
  char dir[] = "/tmp/tetherorb2-menus-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  ASSERT_EQ(chdir(dir), 0);
  ASSERT_EQ(mkdir("Levels", 0755), 0);
  for (int n = 1; n <= count; n++) {
    char path[64];
    snprintf(path, sizeof(path), "Levels/level%d.dat", n);
    FILE* f = fopen(path, "w");
    ASSERT_NE(f, nullptr);
    fprintf(f, "Room %d\n%d\n2\n", n, n + 2);
    for (int row = 0; row < 2; row++) {
      for (int x = 0; x < n + 2; x++)
        fputc(x == 0 && row == 0 ? 'j' : 'a', f);
      fputc('\n', f);
    }
    fclose(f);
  }
}

}  // namespace

TEST(Menus, TitleScreenMovesClampsAndChooses)
{
  EnterState(gamestate_title);
  Frame(KeyUp);
  EXPECT_EQ(MenuCursor, 0);
  Frame(KeyS);
  EXPECT_EQ(MenuCursor, 1);
  Frame(KeyDown);
  EXPECT_EQ(MenuCursor, 1);
  Frame(KeyUp, KeyDown);
  EXPECT_EQ(MenuCursor, 1);
  Frame(KeyB);
  EXPECT_EQ(GameState, gamestate_title);
  EXPECT_EQ(MenuCursor, 1);

  Frame(KeySpace);
  EXPECT_EQ(GameState, gamestate_editlist);

  EnterState(gamestate_title);
  Frame(KeyReturn);
  EXPECT_EQ(GameState, gamestate_playlist);
}

TEST(Menus, FifteenLevelFilesScrollOneRowAtATime)
{
  WriteLevels(MaxLevels);
  LoadLevelCatalogue();
  ASSERT_EQ(HighestLevel, 15);
  EnterState(gamestate_playlist);

  for (int i = 1; i <= 14; i++) {
    Frame(KeyDown);
    EXPECT_EQ(MenuCursor, i);
    EXPECT_EQ(MenuFirstRow, i < 6 ? 0 : i - 5) << "after press " << i;
  }
  Frame(KeyS);
  EXPECT_EQ(MenuCursor, 14);
  EXPECT_EQ(MenuFirstRow, 9);

  Frame(KeyUp, KeyDown);
  EXPECT_EQ(MenuCursor, 14);
  EXPECT_EQ(MenuFirstRow, 9);

  for (int i = 13; i >= 0; i--) {
    Frame(KeyW);
    EXPECT_EQ(MenuCursor, i);
    EXPECT_EQ(MenuFirstRow, i < 9 ? i : 9) << "after moving up to " << i;
  }
  Frame(KeyUp);
  EXPECT_EQ(MenuCursor, 0);
  EXPECT_EQ(MenuFirstRow, 0);

  for (int i = 0; i < 14; i++)
    Frame(KeyDown);
  Frame(KeyReturn);
  EXPECT_EQ(GameState, gamestate_playing);
  EXPECT_EQ(CurrentLevel, 15);
  EXPECT_EQ(LevelWidth, 17);
  EXPECT_FLOAT_EQ(Ball.x, 0.5f);
}

TEST(Menus, EightLevelsStopTheCursorAtTheLast)
{
  SetLevels(8);
  EnterState(gamestate_editlist);
  for (int i = 0; i < 20; i++)
    Frame(KeyDown);
  EXPECT_EQ(MenuCursor, 7);
  EXPECT_EQ(MenuFirstRow, 2);
  for (int i = 0; i < 20; i++)
    Frame(KeyUp);
  EXPECT_EQ(MenuCursor, 0);
  EXPECT_EQ(MenuFirstRow, 0);
}

TEST(Menus, NoLevelsKeepSixRowsAndChooseDoesNothing)
{
  SetLevels(0);
  EnterState(gamestate_playlist);
  CurrentLevel = 9;
  for (int i = 0; i < 10; i++)
    Frame(KeyDown);
  EXPECT_EQ(MenuCursor, 5);
  EXPECT_EQ(MenuFirstRow, 0);
  Frame(KeyReturn);
  EXPECT_EQ(GameState, gamestate_playlist);
  EXPECT_EQ(CurrentLevel, 9);
}

TEST(Menus, ChooseOnlyStartsExistingSlots)
{
  WriteLevels(3);
  remove("Levels/level2.dat");
  LoadLevelCatalogue();
  ASSERT_TRUE(LevelExists[0]);
  ASSERT_FALSE(LevelExists[1]);
  ASSERT_EQ(HighestLevel, 3);

  EnterState(gamestate_playlist);
  CurrentLevel = 9;
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
}

TEST(Menus, BackAndChooseInOneFrameReturnToTitle)
{
  SetLevels(15);
  EnterState(gamestate_playlist);
  CurrentLevel = 9;
  Frame(KeyB, KeyReturn);
  EXPECT_EQ(GameState, gamestate_title);
  EXPECT_EQ(CurrentLevel, 9);

  EnterState(gamestate_editlist);
  Frame(KeyDown);
  Frame(KeyB);
  EXPECT_EQ(GameState, gamestate_title);
}

TEST(Scene, CellRangeCoversTheViewAndStaysInTheLevel)
{
  LevelWidth = 40;
  LevelHeight = 30;
  AspectRatio = 4.0f / 3.0f;
  Camera.viewHeight = PlayViewHeight;
  float halfW = Camera.viewHeight * AspectRatio / 2;
  float halfH = Camera.viewHeight / 2;
  int checked = 0;

  for (float cx = -12.0f; cx <= 52.0f; cx += 0.37f) {
    for (float cy = -9.0f; cy <= 39.0f; cy += 0.53f) {
      Camera.camX = cx;
      Camera.camY = cy;
      CellRange r = ViewCellRange();
      ASSERT_GE(r.x0, 0);
      ASSERT_LE(r.x1, LevelWidth);
      ASSERT_GE(r.y0, 0);
      ASSERT_LE(r.y1, LevelHeight);
      // Culled: never much wider than the view itself.
      EXPECT_LE(r.x1 - r.x0, (int)std::ceil(2 * halfW) + 3);
      EXPECT_LE(r.y1 - r.y0, (int)std::ceil(2 * halfH) + 3);
      for (int x = 0; x < LevelWidth; x++) {
        for (int y = 0; y < LevelHeight; y++) {
          bool visible = x < cx + halfW && x + 1 > cx - halfW && y < cy + halfH &&
                         y + 1 > cy - halfH;
          if (!visible)
            continue;
          checked++;
          ASSERT_TRUE(x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1)
              << "cell " << x << "," << y << " skipped at camera " << cx << "," << cy;
        }
      }
    }
  }
  EXPECT_GT(checked, 0);

  // The level's corners, with the view edge exactly on a cell border.
  Camera.camX = 0;
  Camera.camY = 0;
  CellRange r = ViewCellRange();
  EXPECT_EQ(r.x0, 0);
  EXPECT_EQ(r.y0, 0);
  EXPECT_GE(r.x1, 9);
  EXPECT_GE(r.y1, 7);
  Camera.camX = (float)LevelWidth;
  Camera.camY = (float)LevelHeight;
  r = ViewCellRange();
  EXPECT_LE(r.x0, LevelWidth - 9);
  EXPECT_LE(r.y0, LevelHeight - 7);
  EXPECT_EQ(r.x1, LevelWidth);
  EXPECT_EQ(r.y1, LevelHeight);

  // A camera far away or broken shows nothing and reads nothing outside the grid.
  Camera.camX = 1e30f;
  r = ViewCellRange();
  EXPECT_EQ(r.x0, r.x1);
  Camera.camX = NAN;
  r = ViewCellRange();
  EXPECT_GE(r.x0, 0);
  EXPECT_LE(r.x1, LevelWidth);
}

TEST(Scene, ScoreIsTheCeilingOfTheTimeLeft)
{
  EXPECT_EQ(ScoreShown(299.2f), 300);
  EXPECT_EQ(ScoreShown(12.0f), 12);
  EXPECT_EQ(ScoreShown(0.4f), 1);
  EXPECT_EQ(ScoreShown(0.0f), 0);
}
