// Circle against cells: face and corner pushes, the strict overlap and the
// inclusive inside test, the window clipped to the level, harmful contact.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "game/play/collision.h"
#include "game/play/world.h"

namespace {

const float R = BallRadius;

// An empty w x h level; the grid beyond it is cleared too so tests can place
// cells outside the level on purpose.
void EmptyLevel(int w, int h)
{
  for (int x = 0; x < 12; x++)
    for (int y = 0; y < 12; y++)
      MapGrid[x * MapSize + y] = maptype_nothing;
  LevelWidth = w;
  LevelHeight = h;
}

TEST(Collision, DistanceAndSingleBoxPushes)
{
  EXPECT_FLOAT_EQ(Distance(1, 2, 4, 6), 5.0f);
  EXPECT_FLOAT_EQ(Distance(4, 6, 1, 2), 5.0f);

  // Above the box: pushed up to touch its top face.
  float x = 2.5f, y = 1.5f;
  PushOutOfFace(x, y, R, 2, 1, 2, 1);
  EXPECT_FLOAT_EQ(x, 2.5f);
  EXPECT_FLOAT_EQ(y, 2 - R);

  // Left of the box, level with it: pushed left. Right and below likewise.
  x = 1.6f, y = 2.3f;
  PushOutOfFace(x, y, R, 2, 1, 2, 1);
  EXPECT_FLOAT_EQ(x, 2 - R);
  EXPECT_FLOAT_EQ(y, 2.3f);
  x = 3.2f, y = 2.9f;
  PushOutOfFace(x, y, R, 2, 1, 2, 1);
  EXPECT_FLOAT_EQ(x, 3 + R);
  x = 2.1f, y = 3.5f;
  PushOutOfFace(x, y, R, 2, 1, 2, 1);
  EXPECT_FLOAT_EQ(y, 3 + R);
  EXPECT_FLOAT_EQ(x, 2.1f);

  // Touching the top edge only: no overlap, no push.
  x = 2.5f, y = 1.4f;
  PushOutOfFace(x, y, R, 2, 1, 2, 1);
  PushOutOfCorner(x, y, R, 2, 1, 2, 1);
  EXPECT_FLOAT_EQ(y, 1.4f);

  // A centre on the left edge counts as inside: neither push moves it.
  x = 2.0f, y = 2.5f;
  PushOutOfFace(x, y, R, 2, 1, 2, 1);
  PushOutOfCorner(x, y, R, 2, 1, 2, 1);
  EXPECT_EQ(x, 2.0f);
  EXPECT_EQ(y, 2.5f);

  // In the corner region the face push does nothing; the corner push moves
  // the centre along the diagonal to exactly r from the corner.
  x = 1.7f, y = 1.7f;
  PushOutOfFace(x, y, R, 2, 1, 2, 1);
  EXPECT_EQ(x, 1.7f);
  PushOutOfCorner(x, y, R, 2, 1, 2, 1);
  EXPECT_NEAR(x, 2 - R / std::sqrt(2.0f), 1e-5);
  EXPECT_NEAR(y, 2 - R / std::sqrt(2.0f), 1e-5);
  EXPECT_NEAR(Distance(x, y, 2, 2), R, 1e-5);

  // Overlapping bounding squares but farther than r from the corner.
  x = 1.55f, y = 1.55f;
  PushOutOfCorner(x, y, R, 2, 1, 2, 1);
  EXPECT_EQ(x, 1.55f);
}

TEST(Collision, CollideSolidOnTheGrid)
{
  EmptyLevel(6, 6);
  SetCell(2, 2, maptype_blocknormal);
  float x = 2.5f, y = 1.5f;
  CollideSolid(x, y, R);
  EXPECT_FLOAT_EQ(x, 2.5f);
  EXPECT_FLOAT_EQ(y, 2 - R);

  SetCell(2, 2, maptype_blocknoswing);
  x = 1.7f, y = 1.7f;
  CollideSolid(x, y, R);
  EXPECT_NEAR(Distance(x, y, 2, 2), R, 1e-5);

  // Harmful, ghost and every other type let the ball through.
  for (int type = 0; type < MapTypeCount; type++) {
    if (type == maptype_blocknormal || type == maptype_blocknoswing)
      continue;
    SetCell(2, 2, type);
    x = 2.5f, y = 1.5f;
    CollideSolid(x, y, R);
    EXPECT_EQ(y, 1.5f) << "type " << type;
  }

  // A floor of two cells: the ball over the seam rests on the floor.
  EmptyLevel(6, 6);
  SetCell(1, 3, maptype_blocknormal);
  SetCell(2, 3, maptype_blocknormal);
  x = 2.0f, y = 2.6f;
  CollideSolid(x, y, R);
  EXPECT_FLOAT_EQ(x, 2.0f);
  EXPECT_FLOAT_EQ(y, 3 - R);

  // Non-finite or far-away positions visit nothing and change nothing.
  const float nan = std::numeric_limits<float>::quiet_NaN();
  x = nan, y = 1;
  CollideSolid(x, y, R);
  EXPECT_TRUE(std::isnan(x));
  x = -1e30f, y = 1e30f;
  CollideSolid(x, y, R);
  EXPECT_EQ(x, -1e30f);
  EXPECT_FALSE(TouchesHarmful(nan, nan, R));
}

TEST(Collision, WindowIsClippedToTheLevel)
{
  // A block just outside a level 3 wide is never visited.
  EmptyLevel(3, 3);
  MapGrid[3 * MapSize + 1] = maptype_blocknormal;
  float x = 2.9f, y = 1.5f;
  CollideSolid(x, y, R);
  EXPECT_EQ(x, 2.9f);

  LevelWidth = 4;
  CollideSolid(x, y, R);
  EXPECT_FLOAT_EQ(x, 3 - R);

  // The same below the bottom row.
  EmptyLevel(3, 3);
  MapGrid[1 * MapSize + 3] = maptype_blockharmful;
  EXPECT_FALSE(TouchesHarmful(1.5f, 2.9f, R));
  LevelHeight = 4;
  EXPECT_TRUE(TouchesHarmful(1.5f, 2.9f, R));

  // Near the top-left corner the window starts at cell 0.
  EmptyLevel(3, 3);
  SetCell(0, 0, maptype_blocknormal);
  x = 0.5f, y = 1.3f;
  CollideSolid(x, y, R);
  EXPECT_FLOAT_EQ(y, 1 + R);
  x = -0.4f, y = 0.5f;
  CollideSolid(x, y, R);
  EXPECT_FLOAT_EQ(x, -R);
}

TEST(Collision, TouchesHarmfulAtFacesAndCorners)
{
  EmptyLevel(6, 6);
  SetCell(3, 3, maptype_blockharmful);
  EXPECT_TRUE(TouchesHarmful(3.5f, 3 - 0.5f, R));
  EXPECT_FALSE(TouchesHarmful(3.5f, 3 - 0.6f, R));
  EXPECT_TRUE(TouchesHarmful(4.5f, 3.5f, R));
  EXPECT_TRUE(TouchesHarmful(2.7f, 2.7f, R));   // 0.42 from the corner
  EXPECT_FALSE(TouchesHarmful(2.55f, 2.55f, R)); // 0.64 from the corner
  EXPECT_FALSE(TouchesHarmful(3.5f, 3.5f, R));   // centre inside the block

  // Solid blocks do not count as harmful, and harmful blocks do not collide.
  SetCell(3, 3, maptype_blocknormal);
  EXPECT_FALSE(TouchesHarmful(3.5f, 2.5f, R));
  SetCell(3, 3, maptype_blockghost);
  EXPECT_FALSE(TouchesHarmful(3.5f, 2.5f, R));
}

}  // namespace

// A move into a wall one cell thick, along a row or column of it, goes back
// out by the face it came in through, to touch that face, however deep it went
// (the wall's own faces may nudge it along the wall).
TEST(Collision, AMoveIntoAWallLeavesByTheFaceItCameIn)
{
  for (int across = 0; across < 2; across++)
    for (int side = -1; side <= 1; side += 2)
      for (float depth = 0.05f; depth < 1; depth += 0.1f) {
        EmptyLevel(12, 12);
        for (int i = 0; i < 12; i++)
          across ? SetCell(i, 5, maptype_blocknormal) : SetCell(5, i, maptype_blocknormal);
        float in = side < 0 ? 5 + depth : 6 - depth, from = side < 0 ? 3.9f : 7.1f, along = 6.5f;
        float x = across ? along : in, y = across ? in : along;
        CollideSolidFrom(x, y, R, across ? along : from, across ? from : along);
        EXPECT_FLOAT_EQ(across ? y : x, side < 0 ? 5 - R : 6 + R) << across << " " << side << " " << depth;
      }
}

// A move into a lone block from anywhere around it, across two of its faces'
// lines too, leaves by the face its path first touched (found by walking it).
TEST(Collision, AMoveIntoALoneBlockLeavesByTheFaceItsPathEntered)
{
  EmptyLevel(12, 12);
  SetCell(5, 5, maptype_blocknormal);
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> around(3, 8), inside(5.01f, 5.99f);
  for (int n = 0; n < 2000; n++) {
    float fx = around(rng), fy = around(rng), x = inside(rng), y = inside(rng), ex = fx, ey = fy;
    for (int k = 1; ex < 5 || ex > 6 || ey < 5 || ey > 6; k++)
      ex = fx + (x - fx) * k / 4096, ey = fy + (y - fy) * k / 4096;
    float gaps[] = {ex - 5, 6 - ex, ey - 5, 6 - ey}, sorted[4];
    std::partial_sort_copy(gaps, gaps + 4, sorted, sorted + 4);
    if (sorted[1] < 0.01f || (fx >= 5 && fx <= 6 && fy >= 5 && fy <= 6))
      continue;   // by a corner, or from inside
    int face = (int)(std::min_element(gaps, gaps + 4) - gaps);
    const float Touching[] = {5 - R, 6 + R, 5 - R, 6 + R};
    CollideSolidFrom(x, y, R, fx, fy);
    EXPECT_FLOAT_EQ(face < 2 ? x : y, Touching[face]) << fx << " " << fy;
  }
}
