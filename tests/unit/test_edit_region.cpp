// Region operations of the editor on generated levels: turns, moves and
// pastes, each taken back byte for byte by one undo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "game/edit/edit_history.h"
#include "game/edit/edit_region.h"
#include "game/play/world.h"

namespace {

const int Side = 48;   // the generated levels are Side x (Side - 5)

std::vector<MapCell> Grid()
{
  return std::vector<MapCell>(MapGrid, MapGrid + MapSize * MapSize);
}

void RandomLevel(std::mt19937* rng)
{
  memset(MapGrid, 0, sizeof MapGrid);
  LevelWidth = Side;
  LevelHeight = Side - 5;
  for (int x = 0; x < LevelWidth; x++)
    for (int y = 0; y < LevelHeight; y++)
      MapGrid[x * MapSize + y] = (MapCell)((*rng)() % MapTypeCount);
  HistoryClear();
}

CellRect RandomRect(std::mt19937* rng)
{
  CellRect r;   // corners past the level's bottom are clipped; one wholly past it is drawn again
  while (!ClipRect((int)((*rng)() % Side), (int)((*rng)() % Side), (int)((*rng)() % Side), (int)((*rng)() % Side), &r)) {
  }
  return r;
}

int CountIn(const CellRect& r, int type)
{
  int n = 0;
  for (int x = r.left; x <= r.right; x++)
    for (int y = r.top; y <= r.bottom; y++)
      n += MapGrid[x * MapSize + y] == type;
  return n;
}

} // namespace

TEST(EditRegion, EachOperationIsOneStepThatUndoRestoresExactly)
{
  std::mt19937 rng(7);
  for (int round = 0; round < 60; round++) {
    RandomLevel(&rng);
    CellRect r = RandomRect(&rng), moved = r;
    CopyRegion(r);
    int op = round % 5, dx = (int)(rng() % 21) - 10, dy = (int)(rng() % 21) - 10;
    std::vector<MapCell> before = Grid();
    if (op == 0)
      CutRegion(r);
    else if (op == 1)
      TurnRegion(&moved, round % TurnCount);
    else if (op == 2)
      MoveRegion(&moved, dx, dy);
    else if (op == 3)
      PasteClip(r.left + dx, r.top + dy);
    else
      EmptyRegion(r);
    std::vector<MapCell> after = Grid();
    if (op == 0 || op == 4) {
      EXPECT_EQ(CountIn(r, maptype_nothing), (r.right - r.left + 1) * (r.bottom - r.top + 1));
    }
    if (op == 2 && (dx > r.right - r.left || -dx > r.right - r.left)) {   // the source is left empty
      EXPECT_EQ(CountIn(r, maptype_nothing), (r.right - r.left + 1) * (r.bottom - r.top + 1));
    }
    ASSERT_LE(HistoryUndoCount(), 1);
    HistoryUndo();
    EXPECT_TRUE(Grid() == before) << "round " << round;
    HistoryRedo();
    EXPECT_TRUE(Grid() == after) << "round " << round;
  }
}

TEST(EditRegion, TurnsComeBackAndCarryGravity)
{
  std::mt19937 rng(11);
  for (int round = 0; round < 40; round++) {
    RandomLevel(&rng);
    CellRect r = RandomRect(&rng);
    int side = (r.right - r.left < r.bottom - r.top ? r.right - r.left : r.bottom - r.top);
    r.right = r.left + side;
    r.bottom = r.top + side;   // square: a quarter turn stays where it is
    std::vector<MapCell> start = Grid();
    int turn = round % TurnCount, times = turn == turn_quarter ? 4 : 2;
    int left = CountIn(r, maptype_gravityleft), up = CountIn(r, maptype_gravityup);
    TurnRegion(&r, turn);
    if (turn == turn_flip_h) {
      EXPECT_EQ(CountIn(r, maptype_gravityright), left);
    }
    if (turn == turn_flip_v) {
      EXPECT_EQ(CountIn(r, maptype_gravitydown), up);
    }
    if (turn == turn_quarter) {
      EXPECT_EQ(CountIn(r, maptype_gravityup), left);
    }
    for (int i = 1; i < times; i++)
      TurnRegion(&r, turn);
    EXPECT_TRUE(Grid() == start) << "round " << round;

    CopyRegion(RandomRect(&rng));   // any shape in the clip
    std::vector<MapCell> clip(Clip.cells, Clip.cells + Clip.width * Clip.height);
    int w = Clip.width, h = Clip.height;
    for (int i = 0; i < times; i++) {
      TurnClip(turn);
      if (turn == turn_quarter) {
        EXPECT_EQ(Clip.width, i % 2 ? w : h);
      }
    }
    EXPECT_EQ(Clip.width, w);
    EXPECT_TRUE(std::vector<MapCell>(Clip.cells, Clip.cells + Clip.width * Clip.height) == clip);
  }
}

TEST(EditRegion, PasteNeverAddsASecondSpawn)
{
  std::mt19937 rng(3);
  for (int round = 0; round < 80; round++) {
    RandomLevel(&rng);
    CellRect all = {0, 0, LevelWidth - 1, LevelHeight - 1};
    for (int i = 0; i < Side * Side; i++)   // no spawn but those placed below
      if (MapGrid[i % Side * MapSize + i / Side] == maptype_playerspawn)
        MapGrid[i % Side * MapSize + i / Side] = maptype_nothing;
    CopyRegion(RandomRect(&rng));
    for (int i = (int)(rng() % 3); i > 0; i--)
      Clip.cells[rng() % (Clip.width * Clip.height)] = maptype_playerspawn;
    int x = (int)(rng() % Side) - 10, y = (int)(rng() % Side) - 10;
    int sx = (int)(rng() % LevelWidth), sy = (int)(rng() % LevelHeight);
    if (round % 4 == 3) {   // on the block's edge or just past it
      int across[] = {-1, 0, Clip.width - 1, Clip.width}, down[] = {-1, 0, Clip.height - 1, Clip.height};
      sx = std::clamp(x + across[rng() % 4], 0, LevelWidth - 1);
      sy = std::clamp(y + down[rng() % 4], 0, LevelHeight - 1);
    }
    if (round % 2)
      MapGrid[sx * MapSize + sy] = maptype_playerspawn;
    bool outside = round % 2 && !(sx >= x && sx < x + Clip.width && sy >= y && sy < y + Clip.height);
    int brought = 0;
    for (int cx = 0; cx < Clip.width; cx++)
      for (int cy = 0; cy < Clip.height; cy++)
        brought += x + cx >= 0 && y + cy >= 0 && x + cx < LevelWidth && y + cy < LevelHeight &&
                   Clip.cells[cx * Clip.height + cy] == maptype_playerspawn;
    EXPECT_EQ(PasteDropsSpawn(x, y), brought > 1 || (brought == 1 && outside)) << "round " << round;
    PasteClip(x, y);
    EXPECT_LE(CountIn(all, maptype_playerspawn), 1) << "round " << round;
    if (outside) {
      EXPECT_EQ(MapGrid[sx * MapSize + sy], maptype_playerspawn) << "round " << round;
    }
  }
}
