// Grid operations of the editor and their undo and redo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "game/base/controls.h"
#include "game/base/screen.h"
#include "game/edit/edit_history.h"
#include "game/edit/edit_ops.h"
#include "game/files/level_check.h"
#include "game/lobby/online_share.h"
#include "game/play/world.h"
#include "game/run/rules.h"
#include "game/run/test_run.h"
#include "game/settings/settings.h"
#include "test_support.h"
#include "ui/editor_save.h"
#include "ui/run_flow.h"

namespace {

// The level's size, title and every cell of a 60 x 60 corner, for comparing.
std::string Snapshot()
{
  std::string s = std::to_string(LevelWidth) + "x" + std::to_string(LevelHeight) + EditTitle;
  for (int x = 0; x < 60; x++)
    for (int y = 0; y < 60; y++)
      s += (char)('a' + MapGrid[x * MapSize + y]);
  return s;
}

void EmptyLevel(int w, int h)
{
  memset(MapGrid, 0, sizeof(MapGrid));
  LevelWidth = w;
  LevelHeight = h;
  EditTitle[0] = 0;
  HistoryClear();
}

int Count(int type)
{
  int n = 0;
  for (int x = 0; x < MapSize; x++)
    for (int y = 0; y < MapSize; y++)
      n += MapGrid[x * MapSize + y] == type;
  return n;
}

} // namespace

TEST(EditOps, LinesFillsAndResizeStayInsideTheLevel)
{
  EmptyLevel(10, 8);
  PaintLine(-3, -3, 20, 20, 1); // diagonal clipped to (0,0)..(7,7)
  EXPECT_EQ(Count(1), 8);
  EXPECT_EQ(CellAt(7, 7), 1);
  PaintLine(0, 5, 9, 6, 2);     // no gaps: one cell per column
  EXPECT_EQ(Count(2), 10);
  EXPECT_EQ(CellAt(9, 6), 2);

  EmptyLevel(10, 8);
  FillRect(12, -5, 3, 2, 3);    // columns 3..9, rows 0..2
  EXPECT_EQ(Count(3), 21);
  FillRect(20, 0, 30, 5, 3);    // wholly outside
  EXPECT_EQ(Count(3), 21);

  // A wall splits the level; the fill stays on its side and inside the level.
  EmptyLevel(10, 8);
  PaintLine(4, 0, 4, 7, 1);
  FloodFill(1, 1, 5);
  EXPECT_EQ(Count(5), 32);
  FloodFill(1, 1, 5);           // same type: nothing
  FloodFill(-1, 1, 6);          // outside: nothing
  EXPECT_EQ(Count(6), 0);

  // Shrinking empties what leaves; growing back shows empty cells.
  ResizeLevel(2, 3);
  EXPECT_EQ(Count(5), 6);
  ResizeLevel(10, 8);
  EXPECT_EQ(Count(5), 6);
  EXPECT_EQ(Count(1), 0);
  ResizeLevel(5000, -4);
  EXPECT_EQ(LevelWidth, MaxLevelWidth);
  EXPECT_EQ(LevelHeight, 1);
}

TEST(EditOps, NewLevelAndChecks)
{
  MakeNewLevel(7);
  EXPECT_STREQ(EditTitle, "Level 7");
  EXPECT_EQ(LevelWidth, NewLevelWidth);
  EXPECT_EQ(LevelHeight, NewLevelHeight);
  EXPECT_EQ(Count(maptype_blocknormal), 2 * (NewLevelWidth + NewLevelHeight) - 4);
  LevelCheck c = CheckLevel();
  EXPECT_LT(c.spawnX, NewLevelWidth / 4);
  EXPECT_EQ(LevelCheckNote(c), nullptr);
  EXPECT_EQ(c.finishes, 1);
  EXPECT_GT(c.spawnX, 0);
  SetCell(1, 1, maptype_playerspawn);
  EXPECT_STREQ(LevelCheckNote(CheckLevel()), "More than one spawn");
  SetCell(1, 1, 0);
  SetCell(c.spawnX, c.spawnY, 0);
  EXPECT_STREQ(LevelCheckNote(CheckLevel()), "No spawn");
  FillRect(0, 0, NewLevelWidth, NewLevelHeight, maptype_nothing);
  SetCell(1, 1, maptype_playerspawn);
  EXPECT_STREQ(LevelCheckNote(CheckLevel()), "No finish");
}

// Random strokes, fills, rectangles, resizes and titles, each undone back to
// the saved copy taken before it, then redone to the copy taken after it.
TEST(EditHistory, UndoAndRedoGiveBackExactlyEachState)
{
  std::mt19937 rng(14);
  EmptyLevel(30, 30);
  std::vector<std::string> states{Snapshot()};
  for (int step = 0; step < 300; step++) {
    auto r = [&](int n) { return (int)(rng() % n); };
    HistoryBegin();
    switch (r(5)) {
    case 0: PaintLine(r(70) - 5, r(70) - 5, r(70) - 5, r(70) - 5, r(12)); break;
    case 1: FloodFill(r(60), r(60), r(12)); break;
    case 2: FillRect(r(60), r(60), r(60), r(60), r(12)); break;
    case 3: ResizeLevel(1 + r(59), 1 + r(59)); break;
    default: snprintf(EditTitle, sizeof(EditTitle), "t%d", r(9)); break;
    }
    HistoryEnd();
    if (Snapshot() != states.back())
      states.push_back(Snapshot());
  }
  int kept = HistoryUndoCount();
  ASSERT_EQ(kept, std::min((int)states.size() - 1, MaxEditSteps));
  for (int i = 1; i <= kept; i++) {
    ASSERT_TRUE(HistoryUndo());
    ASSERT_EQ(Snapshot(), states[states.size() - 1 - i]) << "undo " << i;
  }
  EXPECT_FALSE(HistoryUndo());
  for (int i = kept - 1; i >= 0; i--) {
    ASSERT_TRUE(HistoryRedo());
    ASSERT_EQ(Snapshot(), states[states.size() - 1 - i]);
  }
  EXPECT_FALSE(HistoryRedo());
  // A new step after an undo ends redo.
  HistoryUndo();
  HistoryBegin();
  PaintLine(0, 0, 0, 0, CellAt(0, 0) == 1 ? 2 : 1);
  HistoryEnd();
  EXPECT_FALSE(HistoryRedo());
}

// Two hundred whole-level fills of the largest level, rectangles and every
// tenth a flood, over a level of mixed cells, all stay undoable back to it. Fills of
// a comb's teeth (a word a cell) fill the ring: the oldest go, the rest undo.
TEST(EditHistory, LargestFillsStayUndoable)
{
  EmptyLevel(MaxLevelWidth, MaxLevelHeight);
  for (int x = 0; x < MaxLevelWidth; x++)
    for (int y = 0; y < MaxLevelHeight; y++)
      MapGrid[x * MapSize + y] = 1 + (x + 3 * y) % 8;
  std::vector<int> mixed(MapGrid, MapGrid + MapSize * MapSize);
  for (int i = 0; i < 200; i++) {
    HistoryBegin();
    if (i % 10 == 9)
      FloodFill(5, 5, 2 + i % 2);
    else
      FillRect(0, 0, MaxLevelWidth - 1, MaxLevelHeight - 1, 2 + i % 2);
    HistoryEnd();
  }
  EXPECT_EQ(Count(3), MaxLevelWidth * MaxLevelHeight);
  ASSERT_EQ(HistoryUndoCount(), 200);
  while (HistoryUndo()) {
  }
  EXPECT_TRUE(std::equal(mixed.begin(), mixed.end(), MapGrid));

  // Teeth on every other row, joined by column 0: half a million lone cells.
  EmptyLevel(MaxLevelWidth, MaxLevelHeight);
  for (int x = 0; x < MaxLevelWidth; x++)
    for (int y = 0; y < MaxLevelHeight; y++)
      MapGrid[x * MapSize + y] = x == 0 || y % 2 == 0 ? 1 : 0;
  int teeth = Count(1);
  for (int i = 1; i <= 16; i++) {
    HistoryBegin();
    FloodFill(0, 0, 2 + i % 2);
    HistoryEnd();
  }
  int kept = HistoryUndoCount();
  EXPECT_GE(kept, 6);
  EXPECT_LT(kept, 16);
  while (HistoryUndo()) {
  }
  EXPECT_EQ(Count(2 + (16 - kept) % 2), teeth);
}

// A step is never opened twice: a second HistoryBegin closes the first as a
// step of its own, a change to another type starts the next step, and a
// change outside any step opens one.
TEST(EditHistory, EveryChangeIsInExactlyOneStep)
{
  EmptyLevel(10, 8);
  HistoryBegin();
  HistorySet(1, 1, 1);
  HistoryBegin();
  HistorySet(2, 2, 1);
  HistorySet(3, 3, 2);
  HistoryEnd();
  HistorySet(4, 4, 1);
  HistoryEnd();
  EXPECT_EQ(HistoryUndoCount(), 4);
  for (int cell = 4; cell >= 1; cell--) {
    EXPECT_NE(CellAt(cell, cell), 0);
    HistoryUndo();
    EXPECT_EQ(CellAt(cell, cell), 0) << "undo of cell " << cell;
  }
}

// A test run plays the grid from its spawn, keeps no score on finishing, and
// gives back the grid, size and camera exactly.
TEST(EditTestRun, FinishWritesNoScoreAndTheGridComesBack)
{
  MakeNewLevel(3);
  CurrentLevel = 3;
  LevelBest[2] = 0;
  Camera.camX = 7;
  std::string before = Snapshot();
  LevelCheck c = CheckLevel();
  ScreenWidth = 800, ScreenHeight = 600;   // a window a replay can name
  BeginTestRun();
  EXPECT_TRUE(TestRunActive);
  EXPECT_EQ(ScreenNow(), gamestate_playing);
  EXPECT_NEAR(Ball.x, c.spawnX + 0.5f, 0.01f);
  Ball.x = NewLevelWidth - 3.5f; // onto the finish
  Ball.y = NewLevelHeight - 2.5f;
  Ball.vx = Ball.vy = 0;
  memset(&Controls, 0, sizeof Controls);
  PlayFrame(16);  // straight back to the editor, no results card
  EXPECT_STREQ(EditorHintText(), "Finished, 30.0 s left");
  EXPECT_EQ(LevelBest[2], 0);
  EXPECT_FALSE(TestRunActive);
  EXPECT_EQ(ScreenNow(), gamestate_editing);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(Camera.camX, 7);
  EXPECT_TRUE(HasAuthorRun(HistoryVersion()));
  BeginTestRun();   // with an assist on, a finish is no author run
  Settings.tetherToggle = true;
  Ball.x = NewLevelWidth - 3.5f, Ball.y = NewLevelHeight - 2.5f;
  PlayFrame(16);
  Settings.tetherToggle = false;
  EXPECT_FALSE(HasAuthorRun(HistoryVersion()));
  BeginTestRun();
  LevelTimer = 0.01f;
  PlayFrame(16);
  EXPECT_STREQ(EditorHintText(), "Time up");
}
