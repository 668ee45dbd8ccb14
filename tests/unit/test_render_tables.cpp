// Atlas, font and dashboard tables against known corner values, the inset
// rule that keeps pictures apart under linear filtering, and the pause
// buttons' hit box.
#include <gtest/gtest.h>

#include <math.h>
#include <vector>

#include "render/atlas.h"
#include "render/draw.h"
#include "render/overlay.h"
#include "render/text.h"

// Corner order (left, bottom), (right, bottom), (right, top), (left, top).
// Every corner of these tables is a short binary fraction, so it is exact.
static void ExpectCorners(const AtlasRect& r, float left, float top, float right, float bottom)
{
  const float want[8] = { left, bottom, right, bottom, right, top, left, top };
  for (int i = 0; i < 8; i++)
    EXPECT_EQ(r.st[i], want[i]) << "corner value " << i;
}

static void ExpectPixelCell(const AtlasRect& r, float x, float y, float w, float h,
                            float inset, float texW, float texH)
{
  ExpectCorners(r, (x + inset) / texW, (y + inset) / texH,
                (x + w - inset) / texW, (y + h - inset) / texH);
}

TEST(RenderTables, AtlasRectanglesAndPanelPieces)
{
  FillAtlasRects();
  ExpectCorners(AtlasTitle, 0.00146484375f, 0.00146484375f, 0.49853515625f, 0.12353515625f);
  ExpectCorners(PanelSets[0], 0.50146484375f, 0.81396484375f, 0.56103515625f, 0.87353515625f);

  ExpectPixelCell(AtlasBall, 0, 128, 128, 128, 1.5f, 1024, 1024);
  ExpectPixelCell(AtlasFinish, 384, 128, 128, 128, 1.5f, 1024, 1024);
  ExpectPixelCell(AtlasGravityRight, 384, 256, 128, 128, 1.5f, 1024, 1024);
  ExpectPixelCell(AtlasBlockGhost, 384, 384, 128, 128, 1.5f, 1024, 1024);
  ExpectPixelCell(AtlasBackground, 0, 512, 512, 512, 1.5f, 1024, 1024);
  ExpectPixelCell(AtlasPointer, 896, 768, 128, 128, 1.5f, 1024, 1024);
  ExpectPixelCell(AtlasSpare, 896, 896, 128, 128, 1.5f, 1024, 1024);
  ExpectPixelCell(AtlasTether, 576, 768, 256, 64, 1.5f, 1024, 1024);
  ExpectPixelCell(AtlasTetherAnchorEnd, 832, 768, 64, 64, 1.5f, 1024, 1024);

  // Set 1 starts right where set 0 ends; piece 8 is the bottom-right corner.
  ExpectPixelCell(PanelSets[8], 640, 960, 64, 64, 1.5f, 1024, 1024);
  ExpectPixelCell(PanelSets[9], 704, 832, 64, 64, 1.5f, 1024, 1024);
  ExpectPixelCell(PanelSets[9 + 5], 832, 896, 64, 64, 1.5f, 1024, 1024);
  ExpectPixelCell(PanelSets[17], 832, 960, 64, 64, 1.5f, 1024, 1024);

  AtlasRect odd;
  MakeAtlasRect(&odd, 40, 20, 10, 30, 256, 128);
  ExpectPixelCell(odd, 10, 30, 40, 20, 1.5f, 256, 128);
}

TEST(RenderTables, FontGlyphCellsAndSizeFactors)
{
  BuildFontGlyphs();
  EXPECT_EQ(TextWidthFactor, 62.0f);
  EXPECT_EQ(TextHeightFactor, 62.0f);
  struct { int code; float x, y; } cells[] = {
    { ' ', 512, 0 }, { 'A', 576, 256 }, { 'a', 576, 512 }, { '~', 896, 704 }, { 127, 960, 704 },
  };
  for (const auto& c : cells) {
    SCOPED_TRACE(c.code);
    ExpectPixelCell(FontGlyphs[c.code - 32], c.x, c.y, 64, 64, 1, 1024, 1024);
  }
}

TEST(RenderTables, DashboardGlyphsPiecesCursorAndBars)
{
  FillDashboardTables();
  ExpectPixelCell(DashGlyphs[0], 0, 0, 20, 20, 0, 1024, 256);
  ExpectPixelCell(DashGlyphs[31], 620, 0, 20, 20, 0, 1024, 256);
  ExpectPixelCell(DashGlyphs[32], 0, 20, 20, 20, 0, 1024, 256);
  ExpectPixelCell(DashGlyphs['A' - 32], 20, 20, 20, 20, 0, 1024, 256);
  ExpectPixelCell(DashGlyphs[94], 600, 40, 20, 20, 0, 1024, 256);

  // Column by column: index 9g + 3c + r.
  ExpectPixelCell(ButtonFramePieces[0], 0, 60, 20, 20, 0, 1024, 256);
  ExpectPixelCell(ButtonFramePieces[1], 0, 80, 20, 20, 0, 1024, 256);
  ExpectPixelCell(ButtonFramePieces[3], 20, 60, 20, 20, 0, 1024, 256);
  ExpectPixelCell(ButtonFramePieces[8], 40, 100, 20, 20, 0, 1024, 256);
  ExpectPixelCell(ButtonFramePieces[9 + 4], 80, 80, 20, 20, 0, 1024, 256);
  ExpectPixelCell(ButtonFramePieces[26], 160, 100, 20, 20, 0, 1024, 256);

  ExpectPixelCell(DashFrames[0], 440, 60, 40, 60, 0, 1024, 256);
  ExpectPixelCell(DashFrames[4], 600, 60, 40, 60, 0, 1024, 256);
  ExpectPixelCell(DashFrames[DashTopBar], 0, 120, 640, 68, 0, 1024, 256);
  ExpectPixelCell(DashFrames[DashBottomBar], 0, 188, 640, 68, 0, 1024, 256);
}

// Texels a bilinear lookup anywhere inside the rectangle can reach.
struct TexelBox { int x0, y0, x1, y1; const char* what; int index; };

static TexelBox Reach(const AtlasRect& r, const char* what, int index)
{
  float left = r.st[6] * 1024, top = r.st[7] * 1024, right = r.st[2] * 1024, bottom = r.st[3] * 1024;
  return { (int)floorf(left - 0.5f), (int)floorf(top - 0.5f),
           (int)floorf(right - 0.5f) + 1, (int)floorf(bottom - 0.5f) + 1, what, index };
}

TEST(RenderTables, NoTwoPicturesShareATexel)
{
  FillAtlasRects();
  BuildFontGlyphs();
  const AtlasRect* named[] = {
    &AtlasTitle, &AtlasBall, &AtlasParticle, &AtlasExtraTime, &AtlasFinish,
    &AtlasGravityDown, &AtlasGravityLeft, &AtlasGravityUp, &AtlasGravityRight,
    &AtlasBlockNormal, &AtlasBlockHarmful, &AtlasBlockNoSwing, &AtlasBlockGhost,
    &AtlasBackground, &AtlasPointer, &AtlasSpare,
    &AtlasTetherBallEnd, &AtlasTether, &AtlasTetherAnchorEnd,
  };
  std::vector<TexelBox> boxes;
  for (int i = 0; i < (int)(sizeof(named) / sizeof(named[0])); i++)
    boxes.push_back(Reach(*named[i], "named", i));
  for (int i = 0; i < PanelSetCount * PanelPieces; i++)
    boxes.push_back(Reach(PanelSets[i], "panel", i));
  for (int i = 0; i < FontGlyphCount; i++)
    boxes.push_back(Reach(FontGlyphs[i], "glyph", i));

  for (const TexelBox& b : boxes)
    EXPECT_TRUE(0 <= b.x0 && b.x0 < b.x1 && b.x1 < 1024 && 0 <= b.y0 && b.y0 < b.y1 && b.y1 < 1024)
        << b.what << " " << b.index;
  for (size_t i = 0; i < boxes.size(); i++)
    for (size_t j = i + 1; j < boxes.size(); j++) {
      const TexelBox& a = boxes[i];
      const TexelBox& b = boxes[j];
      bool apart = a.x1 < b.x0 || b.x1 < a.x0 || a.y1 < b.y0 || b.y1 < a.y0;
      EXPECT_TRUE(apart) << a.what << " " << a.index << " and " << b.what << " " << b.index;
    }
}

TEST(RenderTables, OverlayButtonHitBoxIsStrict)
{
  const int cx = 400, y = 300;
  EXPECT_FALSE(OverlayButtonHovered(cx, y, 236, y));
  EXPECT_TRUE(OverlayButtonHovered(cx, y, 237, y));
  EXPECT_TRUE(OverlayButtonHovered(cx, y, 562, y));
  EXPECT_FALSE(OverlayButtonHovered(cx, y, 563, y));
  EXPECT_FALSE(OverlayButtonHovered(cx, y, cx, 279));
  EXPECT_TRUE(OverlayButtonHovered(cx, y, cx, 280));
  EXPECT_TRUE(OverlayButtonHovered(cx, y, cx, 320));
  EXPECT_FALSE(OverlayButtonHovered(cx, y, cx, 321));
}

TEST(RenderTables, RightAlignedTextStart)
{
  BuildFontGlyphs();
  // Ten characters at size 0.6 ending at 450.
  double advance = 0.6 * 62 * (double)0.525f;
  EXPECT_NEAR(TextRightStart(10, 450, 0.6f), 450 - advance * 10.5, 1e-4);
  EXPECT_FLOAT_EQ(TextRightStart(0, 100, 1), 100 - 62 * 0.525f * 0.5f);
}
