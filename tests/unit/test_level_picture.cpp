// Level pictures: each cell kind draws one block wherever it lies, shaped as
// its kind is (mirrored, or turned with gravity), its rim or arrow from the
// exact size on, and a picture too large for whole cells still shows its spawn.
#include <gtest/gtest.h>

#include <random>

#include "game/files/level_picture.h"
#include "game/play/world.h"

namespace {
struct Block {   // cell (cx, cy) of n x n pixels
  const LevelPicture* p;
  int cx, cy, n;
  int at(int x, int y) const
  {
    const unsigned char* c = &p->rgba[((size_t)(cy * n + y) * p->w + cx * n + x) * 4];
    return c[0] << 16 | c[1] << 8 | c[2];
  }
};
} // namespace

TEST(LevelPicture, EveryKindDrawsOneBlockShapedAsItsKind)
{
  std::mt19937 rng(5);
  int fill[MapTypeCount] = {};   // each kind's colour, read where 42-pixel cells show no mark
  for (int w = MapTypeCount; w <= 200; w += 7) {
    std::vector<unsigned char> cells(w * 2);
    for (int x = 0; x < w; x++)
      cells[x] = (unsigned char)(x % MapTypeCount), cells[w + x] = (unsigned char)(rng() % (MapTypeCount + 1));   // one past the kinds: nothing
    LevelPicture p;
    DrawLevelPicture(cells.data(), w, 2, &p);
    int n = PictureLongSide / w, last = n - 1;
    ASSERT_EQ(PictureCellPixels(w, 2), n);
    ASSERT_EQ(p.w, w * n);
    ASSERT_EQ(p.h, 2 * n);
    for (int i = 0; i < w * 2; i++)
      for (int x = 0; x < n; x++)
        for (int y = 0; y < n; y++)
          ASSERT_EQ((Block{&p, i % w, i / w, n}.at(x, y)), (Block{&p, cells[i] % MapTypeCount, 0, n}.at(x, y))) << w << " " << i;
    for (int t = 0; t < MapTypeCount; t++) {
      Block b{&p, t, 0, n}, down{&p, maptype_gravitydown, 0, n}, nothing{&p, maptype_nothing, 0, n};
      bool gravity = t >= maptype_gravitydown && t <= maptype_gravityright, plain = true;
      bool round = t >= maptype_playerspawn;   // the items leave their corners to the background
      EXPECT_EQ(b.at(0, 0) == nothing.at(0, 0), t == maptype_nothing || (round && n >= 4)) << t << " " << n;
      for (int x = 0; x < n; x++)
        for (int y = 0; y < n; y++) {
          plain = plain && b.at(x, y) == b.at(0, 0);
          int turned[] = {down.at(last - x, y), down.at(y, last - x), down.at(x, last - y), down.at(y, x)};
          EXPECT_EQ(b.at(x, y), gravity ? turned[t - maptype_gravitydown] : b.at(last - x, y)) << t << " " << n;
          EXPECT_EQ(b.at(x, y), gravity ? b.at(x, y) : b.at(last - x, last - y)) << t << " " << n;
        }
      EXPECT_EQ(plain, t == maptype_nothing || n < (gravity ? 5 : 4)) << "kind " << t << ", " << n << " pixels";
      if (w == MapTypeCount)
        fill[t] = gravity ? b.at(0, 0) : b.at(n / 2, n / 2);
      EXPECT_TRUE(!plain || b.at(0, 0) == fill[t]) << "kind " << t << ", " << n << " pixels";
    }
  }
  std::vector<unsigned char> wide(600 * 3, maptype_blocknormal), one = {maptype_playerspawn};
  wide[600 * 2 + 599] = maptype_playerspawn;
  LevelPicture p, spawn;
  DrawLevelPicture(wide.data(), 600, 3, &p);
  DrawLevelPicture(one.data(), 1, 1, &spawn);
  EXPECT_EQ(PictureCellPixels(PictureLongSide, 1), 1);   // the exact limit, one past it, no cells
  EXPECT_EQ(PictureCellPixels(1, PictureLongSide + 1), 0);
  EXPECT_EQ(PictureCellPixels(0, 0), 0);
  ASSERT_TRUE(p.w == PictureLongSide && p.h == 3 * PictureLongSide / 600);
  EXPECT_EQ((Block{&p, 0, 0, 1}.at(p.w - 1, p.h - 1)), (Block{&spawn, 0, 0, 1}.at(256, 256)));
  EXPECT_EQ((Block{&p, 0, 0, 1}.at(0, 0)), (Block{&p, 0, 0, 1}.at(p.w - 2, p.h - 1)));
}
