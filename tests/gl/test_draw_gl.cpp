// Quads, text and panels drawn from a synthetic atlas whose pictures have
// known colours, read back from the frame buffer.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>
#include <vector>

#include <GL/gl.h>

#include "gl_fixture.h"
#include "render/atlas.h"
#include "render/draw.h"
#include "render/text.h"

static const int Side = 1024;

static void Fill(std::vector<unsigned char>& img, int x, int y, int w, int h, Colour c)
{
  FillBox(img.data(), Side, x, y, w, h, c);
}

// Red, green, blue, white quadrants: top-left, top-right, bottom-left, bottom-right.
static void FillQuadrants(std::vector<unsigned char>& img, int x, int y, int w, int h)
{
  Fill(img, x, y, w / 2, h / 2, Red);
  Fill(img, x + w / 2, y, w / 2, h / 2, Green);
  Fill(img, x, y + h / 2, w / 2, h / 2, Blue);
  Fill(img, x + w / 2, y + h / 2, w / 2, h / 2, White);
}

class DrawTest : public testing::Test {
protected:
  static unsigned texture;

  static void SetUpTestSuite()
  {
    std::vector<unsigned char> img(Side * Side * 4, 0);
    Fill(img, 0, 0, 512, 128, Yellow);                 // title, where stray zero coordinates land
    FillQuadrants(img, 0, 128, 128, 128);              // ball
    Fill(img, 576, 256, 64, 64, Magenta);              // the A glyph's cell border...
    FillQuadrants(img, 577, 257, 62, 62);              // ...around the glyph itself
    for (int set = 0; set < 2; set++)
      for (int k = 0; k < 9; k++)
        Fill(img, 512 + 192 * set + 64 * (k % 3), 832 + 64 * (k / 3), 64, 64, PieceColours[set][k]);
    // The same picture serves as the glyph picture: entry 0 (yellow title), Я green, the placeholder blue.
    for (int k : { ExtraGlyphIndex(0x42F), ExtraGlyphPlaceholder })
      Fill(img, 64 * (k % 16), 64 * (k / 16), 64, 64, k == ExtraGlyphPlaceholder ? Blue : Green);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, Side, Side, 0, GL_RGBA, GL_UNSIGNED_BYTE, img.data());
  }

  void SetUp() override
  {
    FillAtlasRects();
    BuildFontGlyphs();
    AtlasTexture = BigGlyphsTexture = texture;
    ClearScene();
  }

  static void ClearScene()
  {
    BeginPixelScene();
    glBindTexture(GL_TEXTURE_2D, texture);
  }
};
unsigned DrawTest::texture;

TEST_F(DrawTest, QuadUprightRotatedAndMatrixRestored)
{
  DrawQuad(AtlasBall, 200, 200, 100, 100, 0);
  EXPECT_TRUE(IsColour(175, 175, Red));
  EXPECT_TRUE(IsColour(225, 175, Green));
  EXPECT_TRUE(IsColour(175, 225, Blue));
  EXPECT_TRUE(IsColour(225, 225, White));
  EXPECT_TRUE(IsColour(151, 151, Red));
  EXPECT_TRUE(IsBlack(148, 200));
  EXPECT_TRUE(IsBlack(252, 200));

  float projBefore[16], viewBefore[16], projAfter[16], viewAfter[16];
  GLint depthBefore, depthAfter;
  glGetFloatv(GL_PROJECTION_MATRIX, projBefore);
  glGetFloatv(GL_MODELVIEW_MATRIX, viewBefore);
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depthBefore);

  // A quarter turn is clockwise on this y-down screen: top-left goes top-right.
  DrawQuad(AtlasBall, 500, 200, 100, 100, (float)M_PI_2);
  EXPECT_TRUE(IsColour(525, 175, Red));
  EXPECT_TRUE(IsColour(525, 225, Green));
  EXPECT_TRUE(IsColour(475, 225, White));
  EXPECT_TRUE(IsColour(475, 175, Blue));

  // A long thin quad stood on end: 40 wide, 100 tall after the turn.
  DrawQuad(AtlasBall, 500, 450, 100, 40, (float)M_PI_2);
  EXPECT_FALSE(IsBlack(500, 405));
  EXPECT_FALSE(IsBlack(500, 495));
  EXPECT_TRUE(IsBlack(455, 450));
  EXPECT_TRUE(IsBlack(545, 450));

  glGetFloatv(GL_PROJECTION_MATRIX, projAfter);
  glGetFloatv(GL_MODELVIEW_MATRIX, viewAfter);
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depthAfter);
  EXPECT_EQ(0, memcmp(projBefore, projAfter, sizeof(projBefore)));
  EXPECT_EQ(0, memcmp(viewBefore, viewAfter, sizeof(viewBefore)));
  EXPECT_EQ(depthBefore, depthAfter);
  EXPECT_EQ(GL_NO_ERROR, (int)glGetError());
}

TEST_F(DrawTest, GlyphsUprightOneAdvancePerCharacter)
{
  DrawText(100, 100, "A", 1);
  EXPECT_TRUE(IsColour(115, 115, Red));
  EXPECT_TRUE(IsColour(146, 115, Green));
  EXPECT_TRUE(IsColour(115, 146, Blue));
  EXPECT_TRUE(IsColour(146, 146, White));
  // The quad is 62 units square and never shows the cell's border.
  EXPECT_TRUE(IsColour(100, 100, Red));
  EXPECT_TRUE(IsColour(161, 161, White));
  EXPECT_TRUE(IsBlack(99, 130));
  EXPECT_TRUE(IsBlack(162, 130));
  EXPECT_TRUE(IsBlack(130, 162));

  // The second A starts 32.55 units after the first.
  ClearScene();
  DrawText(100, 100, "AA", 1);
  EXPECT_TRUE(IsColour(133, 105, Red));
  EXPECT_TRUE(IsColour(193, 150, White));
  EXPECT_TRUE(IsBlack(195, 150));

  // The middle character takes one cell whatever its bytes: a control draws
  // nothing, the glyph set's first entry and Я their cells, a missing
  // character and a malformed byte the placeholder.
  const struct { const char* text; const Colour* middle; } middles[] = {
    { "A\nA", nullptr }, { "A\xC2\xA0" "A", &Yellow }, { "A\xD0\xAF" "A", &Green },
    { "A\xC4\x80" "A", &Blue }, { "A\xFF" "A", &Blue },
  };
  for (const auto& m : middles) {
    SCOPED_TRACE(&m - middles);
    ClearScene();
    DrawText(100, 300, m.text, 1);
    // Third glyph at 165.1: only the middle character's quad could cover 163..164.
    EXPECT_TRUE(m.middle ? IsColour(163, 320, *m.middle) : IsBlack(163, 320));
    EXPECT_TRUE(IsColour(170, 305, Red) && IsColour(225, 355, White));
  }
  ClearScene();
  DrawText(100, 300, "A\xE2\x82", 1);   // cut at the last byte: one placeholder
  EXPECT_TRUE(IsColour(163, 320, Blue) && IsBlack(197, 320));

  ClearScene();
  DrawText(100, 100, "", 1);
  DrawTextRight("", 300, 100, 1);
  EXPECT_TRUE(IsBlack(110, 110));

  // Right-aligned, one glyph starts 1.5 advances (48.8 units) before x.
  DrawTextRight("A", 400, 100, 1);
  EXPECT_TRUE(IsBlack(350, 110));
  EXPECT_TRUE(IsColour(352, 110, Red));
  EXPECT_TRUE(IsColour(412, 155, White));
  EXPECT_TRUE(IsBlack(414, 155));
}

TEST_F(DrawTest, PanelPiecesAndFlatPanel)
{
  // Inner rectangle 300..400 x 400..440: corners, edges and centre.
  DrawPanel(AtlasPanelNormal, 300, 400, 100, 40);
  const Colour* c = PieceColours[0];
  const int panelXs[3] = { 284, 350, 416 }, panelYs[3] = { 384, 420, 456 };
  ExpectNinePieces(panelXs, panelYs, c);
  EXPECT_TRUE(IsBlack(267, 420));
  EXPECT_TRUE(IsBlack(433, 420));
  EXPECT_TRUE(IsBlack(350, 367));
  EXPECT_TRUE(IsBlack(350, 473));

  // h = 0: the bottom row sits right below the top row, no middle row.
  ClearScene();
  DrawPanel(AtlasPanelHighlight, 300, 400, 100, 0);
  c = PieceColours[1];
  EXPECT_TRUE(IsColour(284, 369, c[0]));
  EXPECT_TRUE(IsColour(350, 399, c[1]));
  EXPECT_TRUE(IsColour(416, 384, c[2]));
  EXPECT_TRUE(IsColour(284, 400, c[6]));
  EXPECT_TRUE(IsColour(350, 400, c[7]));
  EXPECT_TRUE(IsColour(416, 430, c[8]));
  EXPECT_TRUE(IsBlack(350, 433));
  EXPECT_EQ(GL_NO_ERROR, (int)glGetError());
}
