// The world model: cell look-ups outside the level, the level scan, the item
// table and StartLevel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "game/level_files.h"
#include "game/world.h"

namespace {

namespace fs = std::filesystem;

class WorldTest : public ::testing::Test {
protected:
  fs::path oldDir;
  fs::path dir;

  void SetUp() override
  {
    oldDir = fs::current_path();
    char name[] = "/tmp/tetherorb2-world-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir = name;
    fs::current_path(dir);
    fs::create_directory("Levels");
    ItemCount = 0;
  }

  void TearDown() override
  {
    fs::current_path(oldDir);
    fs::remove_all(dir);
  }
};

void WriteLevel(int n, const std::string& text)
{
  std::ofstream out("Levels/level" + std::to_string(n) + ".dat", std::ios::binary);
  out << text;
}

void ClearLevel(int w, int h)
{
  LevelWidth = w;
  LevelHeight = h;
  for (int x = 0; x < w; x++)
    for (int y = 0; y < h; y++)
      SetCell(x, y, maptype_nothing);
}

TEST_F(WorldTest, CellsOutsideTheLevelAreNothing)
{
  WriteLevel(1, "Big\n5\n5\nbbbbb\nbbbbb\nbbbbb\nbbbbb\nbbbbb\n");
  WriteLevel(2, "Small\n2\n3\nbc\nde\nfg\n");
  StartLevel(1);
  EXPECT_EQ(CellAt(4, 4), maptype_blocknormal);
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
  EXPECT_EQ(CellUnder(4.5f, 4.5f), maptype_nothing);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(CellUnder(nan, 0.5f), maptype_nothing);
  EXPECT_EQ(CellUnder(0.5f, nan), maptype_nothing);
  EXPECT_EQ(CellUnder(inf, 0.5f), maptype_nothing);
  EXPECT_EQ(CellUnder(-inf, 0.5f), maptype_nothing);
  EXPECT_EQ(CellUnder(1e30f, 1e30f), maptype_nothing);
  EXPECT_EQ(CellUnder(-1e30f, 0.5f), maptype_nothing);

  SetCell(2, 0, maptype_finish);
  SetCell(-1, 0, maptype_finish);
  SetCell(0, 0, MapTypeCount);
  SetCell(0, 0, -1);
  EXPECT_EQ(MapGrid[2 * MapSize + 0], maptype_blocknormal);
  EXPECT_EQ(CellAt(0, 0), maptype_blocknormal);
  SetCell(1, 1, maptype_finish);
  EXPECT_EQ(CellAt(1, 1), maptype_finish);
}

TEST_F(WorldTest, ScanOrderAndLastSpawnWins)
{
  ClearLevel(8, 9);
  SetCell(2, 7, maptype_playerspawn);
  SetCell(5, 1, maptype_playerspawn);
  Ball.x = Ball.y = 0;
  ScanLevel();
  EXPECT_FLOAT_EQ(Ball.x, 5.5f);
  EXPECT_FLOAT_EQ(Ball.y, 1.5f);
  EXPECT_EQ(ItemCount, 0);

  ClearLevel(3, 3);
  SetCell(0, 2, maptype_extratime);
  SetCell(2, 0, maptype_extratime);
  SetCell(1, 1, maptype_finish);
  ScanLevel();
  ASSERT_EQ(ItemCount, 3);
  EXPECT_EQ(ItemTable[0].type, itemtype_extratime);
  EXPECT_FLOAT_EQ(ItemTable[0].x, 0.5f);
  EXPECT_FLOAT_EQ(ItemTable[0].y, 2.5f);
  EXPECT_EQ(ItemTable[1].type, itemtype_finish);
  EXPECT_FLOAT_EQ(ItemTable[1].x, 1.5f);
  EXPECT_FLOAT_EQ(ItemTable[1].y, 1.5f);
  EXPECT_EQ(ItemTable[2].type, itemtype_extratime);
  EXPECT_FLOAT_EQ(ItemTable[2].x, 2.5f);
  EXPECT_FLOAT_EQ(ItemTable[2].y, 0.5f);
  EXPECT_EQ(CellAt(1, 1), maptype_finish);  // the cell stays after the scan

  // The file's fifth line is row 1: its third letter is cell (2, 1).
  WriteLevel(3, "Spawn\n4\n2\naaaa\naaja\n");
  StartLevel(3);
  EXPECT_EQ(CellAt(2, 1), maptype_playerspawn);
  EXPECT_FLOAT_EQ(Ball.x, 2.5f);
  EXPECT_FLOAT_EQ(Ball.y, 1.5f);
}

TEST_F(WorldTest, ItemTableCapAndOrderedRemoval)
{
  const int w = 100, h = 60;  // 6000 extra-time cells, more than the table holds
  std::string text = "Full\n" + std::to_string(w) + "\n" + std::to_string(h) + "\n";
  for (int y = 0; y < h; y++)
    text += std::string(w, 'k') + "\n";
  WriteLevel(1, text);
  StartLevel(1);
  ASSERT_EQ(ItemCount, MaxItems);
  const LevelItem& last = ItemTable[MaxItems - 1];
  EXPECT_FLOAT_EQ(last.x, (MaxItems - 1) / h + 0.5f);
  EXPECT_FLOAT_EQ(last.y, (MaxItems - 1) % h + 0.5f);
  EXPECT_EQ(AppendItem(itemtype_particle, 1, 1), nullptr);
  EXPECT_EQ(ItemCount, MaxItems);

  ItemCount = 0;
  for (int i = 0; i < 5; i++) {
    LevelItem* item = AppendItem(itemtype_particle, (float)i, 0);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->vx, 0);
    EXPECT_EQ(item->life, 0);
  }
  RemoveItem(1);
  RemoveItem(-1);
  RemoveItem(4);
  ASSERT_EQ(ItemCount, 4);
  EXPECT_EQ(ItemTable[0].x, 0);
  EXPECT_EQ(ItemTable[1].x, 2);
  EXPECT_EQ(ItemTable[2].x, 3);
  EXPECT_EQ(ItemTable[3].x, 4);
  RemoveItem(3);
  EXPECT_EQ(ItemCount, 3);
  EXPECT_EQ(ItemTable[2].x, 3);
}

TEST_F(WorldTest, StartLevelTwiceGivesTheSameStart)
{
  WriteLevel(4, "Twice\n5\n4\nbbbbb\nbkjlb\nbaakb\nbbbbb\n");
  StartLevel(4);
  ASSERT_EQ(ItemCount, 3);
  LevelItem first[3];
  for (int i = 0; i < 3; i++)
    first[i] = ItemTable[i];

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
  EXPECT_EQ(CurrentLevel, 4);
  EXPECT_FLOAT_EQ(Ball.x, 2.5f);
  EXPECT_FLOAT_EQ(Ball.y, 1.5f);
  EXPECT_EQ(Ball.vx, 0);
  EXPECT_EQ(Ball.vy, 0);
  EXPECT_FALSE(Ball.attached);
  EXPECT_FALSE(Ball.onGround);
  EXPECT_EQ(Ball.anchorX, 0);
  EXPECT_EQ(Ball.anchorY, 0);
  EXPECT_EQ(Ball.tetherLength, 0);
  EXPECT_EQ(Ball.gravity, GravityDown);
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
  EXPECT_FLOAT_EQ(Ball.x, 2.5f);
}

}  // namespace
