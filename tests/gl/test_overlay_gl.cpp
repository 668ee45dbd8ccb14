// The overlay texture made from a synthetic dashboard picture (and from no
// picture at all), the cursor, the small font and the pause buttons.
#include <gtest/gtest.h>

#include <string.h>
#include <sys/stat.h>
#include <vector>

#include <GL/gl.h>

#include "game/base/controls.h"
#include "gl_fixture.h"
#include "render/overlay.h"
#include "render/text.h"

static const int PicW = 640, PicH = 256;

static const Colour* Normal = PieceColours[0];
static const Colour* Hovered = PieceColours[1];

static void Fill(std::vector<unsigned char>& img, int x, int y, int w, int h, Colour c)
{
  FillBox(img.data(), PicW, x, y, w, h, c);
}

// Piece index 3c + r of the dashboard: column c, row r of a 3 x 3 group.
static void WriteDashboard()
{
  std::vector<unsigned char> img(PicW * PicH * 4, 0);
  Fill(img, 20 * (('E' - 32) % 32), 20 * (('E' - 32) / 32), 20, 20, Red);
  Fill(img, 440, 60, 40, 60, Green);
  for (int piece = 0; piece < 9; piece++) {
    int c = piece / 3, r = piece % 3;
    int rowMajor = 3 * r + c;
    Fill(img, 20 * c, 60 + 20 * r, 20, 20, Normal[rowMajor]);
    Fill(img, 60 + 20 * c, 60 + 20 * r, 20, 20, Hovered[rowMajor]);
  }
  mkdir("Media", 0755);
  ASSERT_TRUE(WritePng("Media/dashboard.png", img.data(), PicW, PicH, LCT_RGBA));
  std::vector<unsigned char> glyphs(SmallGlyphsW * SmallGlyphsH * 4, 0);   // Я green, the placeholder blue
  for (int entry : { ExtraGlyphIndex(0x42F), ExtraGlyphPlaceholder })
    FillBox(glyphs.data(), SmallGlyphsW, SmallGlyphsCell * (entry % SmallGlyphsColumns),
            SmallGlyphsCell * (entry / SmallGlyphsColumns), SmallGlyphsCell, SmallGlyphsCell,
            entry == ExtraGlyphPlaceholder ? Blue : Green);
  ASSERT_TRUE(WritePng("Media/smallglyphs.png", glyphs.data(), SmallGlyphsW, SmallGlyphsH, LCT_RGBA));
}

static void ExpectOverlayStateClosed()
{
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  GLint mode;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(GL_PROJECTION, mode);
}

// The texels of DashboardTexture, which must be 1024 x 256; all 255 when it is not.
static std::vector<unsigned char> DashTexels()
{
  const int w = 1024, h = 256;
  std::vector<unsigned char> texels(w * h * 4, 255);
  int realW, realH;
  glBindTexture(GL_TEXTURE_2D, DashboardTexture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &realW);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &realH);
  EXPECT_TRUE(realW == w && realH == h) << realW << " x " << realH;
  if (realW == w && realH == h) {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  }
  return texels;
}

class OverlayTest : public testing::Test {
protected:
  static void SetUpTestSuite()
  {
    ScratchDir dir;
    WriteDashboard();
    SetUpDashboard();
  }

  void SetUp() override
  {
    BeginPixelScene();
    memset(&Controls, 0, sizeof(Controls));
  }
};

TEST_F(OverlayTest, PictureLandsTopLeftOfTransparentTexture)
{
  std::vector<unsigned char> texels = DashTexels();
  const unsigned char* cursor = &texels[(80 * 1024 + 450) * 4];
  EXPECT_EQ(0, cursor[0]);
  EXPECT_EQ(255, cursor[1]);
  EXPECT_EQ(255, cursor[3]);
  EXPECT_EQ(0, texels[(10 * 1024 + 800) * 4 + 3]);
  EXPECT_EQ(0, texels[(255 * 1024 + 1023) * 4 + 3]);
}

TEST_F(OverlayTest, CursorHotSpotAndClosingState)
{
  DrawCursor(300, 300);
  EXPECT_TRUE(IsColour(288, 290, Green));
  EXPECT_TRUE(IsColour(327, 349, Green));
  EXPECT_TRUE(IsBlack(287, 290));
  EXPECT_TRUE(IsBlack(288, 289));
  EXPECT_TRUE(IsBlack(328, 320));
  EXPECT_TRUE(IsBlack(300, 350));
  ExpectOverlayStateClosed();
}

TEST_F(OverlayTest, SmallTextAdvancesOneCellPerCharacter)
{
  DrawSmallText("E", 100, 500);
  EXPECT_TRUE(IsColour(95, 500, Red));
  EXPECT_TRUE(IsColour(114, 519, Red));
  EXPECT_TRUE(IsBlack(94, 510));
  EXPECT_TRUE(IsBlack(115, 510));

  // The third glyph starts 20 pixels after the first whatever the middle
  // character: a control draws nothing, Я its glyph, a character the font
  // lacks and a malformed byte the placeholder.
  const struct { const char* text; Colour middle; } texts[] = {
    { "E\nE", Red }, { "E\xD0\xAF" "E", Green }, { "E\x7F" "E", Blue }, { "E\xE9" "E", Blue },
  };
  for (const auto& t : texts) {
    SCOPED_TRACE(&t - texts);
    BeginPixelScene();
    DrawSmallText(t.text, 100, 500);
    EXPECT_TRUE(IsColour(95, 505, Red) && IsColour(110, 505, t.middle));
    EXPECT_TRUE(IsColour(134, 505, Red) && IsBlack(135, 505));
  }

  BeginPixelScene();
  DrawSmallText("", 100, 500);
  ExpectOverlayStateClosed();
}

TEST_F(OverlayTest, ButtonFrameAndClick)
{
  // Body 200..500 x 200..215; pieces of group 0, row-major colours.
  DrawButtonFrame(200, 200, 0);
  const int frameXs[3] = { 185, 350, 515 }, frameYs[3] = { 185, 207, 230 };
  ExpectNinePieces(frameXs, frameYs, Normal);
  EXPECT_TRUE(IsBlack(179, 207));
  EXPECT_TRUE(IsBlack(520, 207));
  EXPECT_TRUE(IsBlack(350, 235));
  ExpectOverlayStateClosed();

  // Pressed inside: clicked and drawn hovered. Frame spans cx +- 170, y - 27 .. y + 28.
  BeginPixelScene();
  Controls.pointerX = 400;
  Controls.pointerY = 300;
  Controls.pointerClick = true;
  EXPECT_TRUE(OverlayButton("Exit", 400, 300));
  EXPECT_TRUE(IsColour(235, 280, Hovered[0]));
  EXPECT_TRUE(IsColour(565, 320, Hovered[8]));
  EXPECT_TRUE(IsBlack(229, 300));
  EXPECT_TRUE(IsBlack(400, 328));
  // The label is centred: "Exit" starts its pen at 380, so the E spans 375..395.
  EXPECT_TRUE(IsColour(375, 290, Red));
  EXPECT_TRUE(IsColour(394, 309, Red));
  EXPECT_TRUE(IsColour(374, 300, Hovered[4]));
  EXPECT_TRUE(IsColour(395, 300, Hovered[4]));

  BeginPixelScene();
  Controls.pointerClick = false;   // held from an earlier frame
  EXPECT_FALSE(OverlayButton("Exit", 400, 300));
  Controls.pointerX = 563;
  Controls.pointerClick = true;
  EXPECT_FALSE(OverlayButton("Exit", 400, 300));
  EXPECT_TRUE(IsColour(235, 280, Normal[0]));
}

TEST(OverlaySetUp, MissingPictureGivesEmptyTexture)
{
  {
    ScratchDir empty;
    SetUpDashboard();
  }

  ASSERT_NE(0u, DashboardTexture);
  std::vector<unsigned char> texels = DashTexels();
  int opaque = 0;
  for (size_t i = 3; i < texels.size(); i += 4)
    opaque += texels[i] != 0;
  EXPECT_EQ(0, opaque);

  ASSERT_NE(nullptr, ReadbackBuffer);
  EXPECT_EQ(800L * 600 * 4, ReadbackBytes);
  ReadbackBuffer[ReadbackBytes - 1] = 7;
  EXPECT_STREQ("", FooterLines[0]);
  EXPECT_STREQ(CreditText, FooterLines[1]);
  EXPECT_GT(strlen(CreditText), 0u);
  for (const char* c = CreditText; *c; c++)
    EXPECT_TRUE(*c >= 32 && *c <= 126);

  // Nothing to draw, yet drawing runs and leaves the frame black.
  BeginPixelScene();
  DrawCursor(100, 100);
  EXPECT_TRUE(IsBlack(100, 100));
  EXPECT_EQ(GL_NO_ERROR, (int)glGetError());
}
