// The scene: the cell range it draws, and the score it shows.
#include <gtest/gtest.h>

#include <cmath>

#include "game/play/world.h"
#include "test_support.h"
#include "ui/scene.h"

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
