// The world model: cell look-ups outside the level, the level scan, the item
// table and StartLevel.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "game/play/world.h"
#include "game/run/level_start.h"
#include "test_support.h"

namespace {

void ClearLevel(int w, int h)
{
  LevelWidth = w;
  LevelHeight = h;
  for (int x = 0; x < w; x++)
    for (int y = 0; y < h; y++)
      SetCell(x, y, maptype_nothing);
}

TEST(World, CellsOutsideTheLevelAreNothing)
{
  ScratchDir scratch;
  WriteLevel(1, "Big\n5\n5\nbbbbb\nbbbbb\nbbbbb\nbbbbb\nbbbbb\n");
  WriteLevel(2, "Small\n2\n3\nbc\nde\nfg\n");
  StartLevel(1);
  StartLevel(2);
  EXPECT_EQ(MapGrid[4 * MapSize + 4], maptype_blocknormal);  // left over in the grid
  EXPECT_EQ(CellAt(4, 4), maptype_nothing);
  EXPECT_EQ(CellAt(2, 0), maptype_nothing);
  EXPECT_EQ(CellAt(0, 3), maptype_nothing);
  EXPECT_EQ(CellAt(1, 2), maptype_gravityleft);
  EXPECT_EQ(CellAt(-1, 0), maptype_nothing);
  EXPECT_EQ(CellAt(0, -1), maptype_nothing);

  EXPECT_EQ(CellUnder(1.99f, 2.99f), maptype_gravityleft);
  EXPECT_EQ(CellUnder(0.0f, 0.0f), maptype_blocknormal);
  // Truncating -0.5 toward zero would wrongly give column 0.
  EXPECT_EQ(CellUnder(-0.5f, 0.5f), maptype_nothing);
  EXPECT_EQ(CellUnder(0.5f, -0.5f), maptype_nothing);
  EXPECT_EQ(CellUnder(2.0f, 0.5f), maptype_nothing);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (float bad : {nan, inf, -inf, 1e30f, -1e30f}) {
    EXPECT_EQ(CellUnder(bad, 0.5f), maptype_nothing) << bad;
    EXPECT_EQ(CellUnder(0.5f, bad), maptype_nothing) << bad;
  }

  // SetCell writes only inside the level and only 0..11.
  SetCell(2, 0, maptype_finish);
  SetCell(-1, 0, maptype_finish);
  SetCell(0, 0, MapTypeCount);
  SetCell(0, 0, -1);
  EXPECT_EQ(MapGrid[2 * MapSize + 0], maptype_blocknormal);
  EXPECT_EQ(CellAt(0, 0), maptype_blocknormal);
  SetCell(1, 1, maptype_finish);
  EXPECT_EQ(CellAt(1, 1), maptype_finish);
}

TEST(World, ScanOrderAndLastSpawnWins)
{
  ClearLevel(8, 9);
  SetCell(2, 7, maptype_playerspawn);
  SetCell(5, 1, maptype_playerspawn);
  ItemCount = 0;
  ScanLevel();
  EXPECT_EQ(Ball.x, 5.5f);
  EXPECT_EQ(Ball.y, 1.5f);
  EXPECT_EQ(ItemCount, 0);

  ClearLevel(3, 3);
  SetCell(0, 2, maptype_extratime);
  SetCell(2, 0, maptype_extratime);
  SetCell(1, 1, maptype_finish);
  ScanLevel();
  const LevelItem want[3] = {{itemtype_extratime, 0.5f, 2.5f, 0, 0, 0},
                             {itemtype_finish, 1.5f, 1.5f, 0, 0, 0},
                             {itemtype_extratime, 2.5f, 0.5f, 0, 0, 0}};
  ASSERT_EQ(ItemCount, 3);
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(ItemTable[i].type, want[i].type) << i;
    EXPECT_EQ(ItemTable[i].x, want[i].x) << i;
    EXPECT_EQ(ItemTable[i].y, want[i].y) << i;
  }
  EXPECT_EQ(CellAt(1, 1), maptype_finish);  // the cell stays after the scan

  // The file's fifth line is row 1: its third letter is cell (2, 1).
  ScratchDir scratch;
  WriteLevel(3, "Spawn\n4\n2\naaaa\naaja\n");
  StartLevel(3);
  EXPECT_EQ(CellAt(2, 1), maptype_playerspawn);
  EXPECT_EQ(Ball.x, 2.5f);
  EXPECT_EQ(Ball.y, 1.5f);
}

TEST(World, ItemTableCapAndOrderedRemoval)
{
  ScratchDir scratch;
  const int w = 100, h = 60;  // 6000 extra-time cells, more than the table holds
  std::string text = "Full\n" + std::to_string(w) + "\n" + std::to_string(h) + "\n";
  for (int y = 0; y < h; y++)
    text += std::string(w, 'k') + "\n";
  WriteLevel(1, text);
  StartLevel(1);
  ASSERT_EQ(ItemCount, MaxItems);
  EXPECT_EQ(ItemTable[MaxItems - 1].x, (MaxItems - 1) / h + 0.5f);
  EXPECT_EQ(ItemTable[MaxItems - 1].y, (MaxItems - 1) % h + 0.5f);
  EXPECT_EQ(AppendItem(itemtype_particle, 1, 1), nullptr);
  EXPECT_EQ(ItemCount, MaxItems);

  ItemCount = 0;
  for (int i = 0; i < 5; i++)
    AppendItem(itemtype_particle, (float)i, 0);
  RemoveItem(1);
  RemoveItem(-1);
  RemoveItem(4);
  ASSERT_EQ(ItemCount, 4);
  const float left[4] = {0, 2, 3, 4};
  for (int i = 0; i < 4; i++)
    EXPECT_EQ(ItemTable[i].x, left[i]) << i;
}

TEST(World, StartLevelTwiceGivesTheSameStart)
{
  ScratchDir scratch;
  WriteLevel(4, "Twice\n5\n4\nbbbbb\nbkjlb\nbaakb\nbbbbb\n");
  StartLevel(4);
  ASSERT_EQ(ItemCount, 3);
  LevelItem first[3] = {ItemTable[0], ItemTable[1], ItemTable[2]};

  // Play changes things: a pickup taken, the ball moved, time spent.
  RemoveItem(0);
  AppendItem(itemtype_particle, 9, 9);
  Ball = {7, 7, 1, 1, true, true, 3, 3, 2, GravityUp};
  Camera.viewHeight = PlayViewHeight;
  LevelTimer = 12;
  TrailTimer = 0.5f;
  AimPoint.mouseNX = 0.3f;

  StartLevel(4);
  ASSERT_EQ(ItemCount, 3);
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(ItemTable[i].type, first[i].type);
    EXPECT_EQ(ItemTable[i].x, first[i].x);
    EXPECT_EQ(ItemTable[i].y, first[i].y);
  }
  EXPECT_EQ(Ball.x, 2.5f);
  EXPECT_EQ(Ball.y, 1.5f);
  EXPECT_TRUE(Ball.vx == 0 && Ball.vy == 0 && Ball.tetherLength == 0);
  EXPECT_TRUE(!Ball.attached && !Ball.onGround && Ball.gravity == GravityDown);
  EXPECT_TRUE(Ball.anchorX == 0 && Ball.anchorY == 0);
  EXPECT_EQ(CurrentLevel, 4);
  EXPECT_EQ(Camera.camX, Ball.x);
  EXPECT_EQ(Camera.camY, Ball.y);
  EXPECT_EQ(Camera.viewHeight, 1);
  EXPECT_EQ(AimPoint.aimX, Ball.x);
  EXPECT_EQ(AimPoint.aimY, Ball.y);
  EXPECT_EQ(AimPoint.mouseNX, 0);
  EXPECT_EQ(LevelTimer, LevelTimeAtStart);
  EXPECT_EQ(TrailTimer, 0);

  // A level whose file is gone plays the grid that is already there.
  StartLevel(9);
  EXPECT_EQ(CurrentLevel, 9);
  EXPECT_EQ(LevelWidth, 5);
  EXPECT_EQ(ItemCount, 3);
  EXPECT_EQ(Ball.x, 2.5f);
}

}  // namespace
