// The committed artwork drawn through the real tables: every picture, both
// panel sets, both fonts, the buttons and the cursor. The frame is saved as
// art_preview.png in the working directory for a look by eye.
#include <gtest/gtest.h>

#include <stdio.h>
#include <unistd.h>
#include <string>
#include <vector>

#include <GL/gl.h>

#include "game/base/controls.h"
#include "gl_fixture.h"
#include "render/atlas.h"
#include "render/draw.h"
#include "render/overlay.h"
#include "render/text.h"

// True when some pixel of the w x h box at (x, y) is not black.
static bool HasInk(int x, int y, int w, int h)
{
  std::vector<unsigned char> px(w * h * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, GLTestH - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  for (int i = 0; i < w * h; i++)
    if (px[i * 4] > 16 || px[i * 4 + 1] > 16 || px[i * 4 + 2] > 16)
      return true;
  return false;
}

static void SaveFrame(const char* path)
{
  std::vector<unsigned char> px(GLTestW * GLTestH * 4), flipped(px.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, GLTestW, GLTestH, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  const int row = GLTestW * 4;
  for (int y = 0; y < GLTestH; y++)
    std::copy(&px[(GLTestH - 1 - y) * row], &px[(GLTestH - y) * row], &flipped[y * row]);
  WritePng(path, flipped.data(), GLTestW, GLTestH, LCT_RGBA);
}

// The committed pictures into their textures and tables.
static void LoadCommittedArt()
{
  std::string media = std::string(REPO_ROOT) + "/Media";
  ScratchDir dir;
  ASSERT_EQ(0, symlink(media.c_str(), "Media"));
  BuildAtlas();
  BuildFontGlyphs();
  SetUpDashboard();
}

TEST(Artwork, EveryPictureDrawsAndTheFrameIsSaved)
{
  LoadCommittedArt();
  ASSERT_NE(0u, AtlasTexture);

  BeginPixelScene();
  glBindTexture(GL_TEXTURE_2D, AtlasTexture);
  DrawRect(AtlasBackground, 0, 0, GLTestW, GLTestH);
  DrawRect(AtlasTitle, 16, 8, 384, 96);

  // A black strip to draw the sprites on, so each one shows what it adds.
  glDisable(GL_TEXTURE_2D);
  glColor3f(0, 0, 0);
  glRecti(0, 112, GLTestW, 184);
  glColor3f(1, 1, 1);
  glEnable(GL_TEXTURE_2D);
  const AtlasRect* sprites[] = {
    &AtlasBall, &AtlasParticle, &AtlasExtraTime, &AtlasFinish,
    &AtlasGravityDown, &AtlasGravityLeft, &AtlasGravityUp, &AtlasGravityRight,
    &AtlasBlockNormal, &AtlasBlockHarmful, &AtlasBlockNoSwing, &AtlasBlockGhost, &AtlasPointer,
  };
  const int spriteCount = sizeof(sprites) / sizeof(sprites[0]);
  for (int i = 0; i < spriteCount; i++)
    DrawQuad(*sprites[i], 36 + 60.0f * i, 148, 56, 56, 0);
  for (int i = 0; i < spriteCount; i++) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(HasInk(12 + 60 * i, 124, 48, 48));
  }

  DrawRect(AtlasTetherBallEnd, 420, 40, 32, 32);
  DrawRect(AtlasTether, 452, 40, 200, 32);
  DrawRect(AtlasTetherAnchorEnd, 652, 40, 32, 32);
  DrawQuad(AtlasBall, 740, 56, 56, 56, 0.6f);

  DrawPanel(AtlasPanelNormal, 60, 240, 300, 25);
  DrawText(70, 240, "Level 1: First swing", 0.4f);
  DrawPanel(AtlasPanelHighlight, 440, 240, 300, 25);
  DrawText(450, 240, "Level 2: Gravity", 0.4f);
  DrawPanel(AtlasPanelNormal, 60, 340, 680, 110);
  DrawText(70, 340, " !\"#$%&'()*+,-./0123456789:;<=>?@", 0.5f);
  DrawText(70, 376, "ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`", 0.5f);
  DrawText(70, 412, "abcdefghijklmnopqrstuvwxyz{|}~\x7f", 0.5f);
  DrawTextRight("Press B to go back", 740, 470, 0.5f);

  DrawSmallText("Small font: The quick brown fox jumps over the lazy dog 0123456789", 20, 520);
  Controls.pointerX = 200;
  Controls.pointerY = 568;
  OverlayButton("Resume game", 200, 568);
  OverlayButton("Save screenshot", 580, 568);
  DrawCursor(210, 575);
  EXPECT_TRUE(HasInk(20, 0, 380, 100));
  EXPECT_TRUE(HasInk(15, 520, 200, 20));
  EXPECT_TRUE(HasInk(30, 541, 340, 55));

  SaveFrame("art_preview.png");
  printf("frame saved as art_preview.png in the working directory\n");
}

// A line in each language in both fonts, the big one at the menus' size in an
// 800 x 600 window, inked and saved as text_preview.png for a look by eye.
TEST(Artwork, TextInEveryLanguageDrawsInBothFonts)
{
  const char* lines[] = {
    "English: \xE2\x80\x9CSwing\xE2\x80\x9D \xE2\x80\x98on\xE2\x80\x99 \xE2\x80\x94 5 \xE2\x82\xAC\xE2\x80\xA6",
    "Deutsch: Gr\xC3\xB6\xC3\x9F" "e, \xC3\x9C" "bung \xE2\x80\x9E" "Stra\xC3\x9F" "e\xE2\x80\x9C",
    "Fran\xC3\xA7" "ais: \xC2\xAB O\xC3\xB9 est l\xE2\x80\x99\xC3\xA9l\xC3\xA8ve ? \xC2\xBB \xC5\x93uvre",
    "Espa\xC3\xB1ol: \xC2\xBF" "C\xC3\xB3mo? \xC2\xA1" "A\xC3\xB1o! 1\xC2\xBA 2\xC2\xAA",
    "Portugu\xC3\xAAs: A\xC3\xA7\xC3\xA3o, cora\xC3\xA7\xC3\xA3o, voc\xC3\xAA",
    "Polski: Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 ja\xC5\xBA\xC5\x84 \xC5\x81\xC3\xB3" "d\xC5\xBA",
    "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9: \xD0\x81\xD0\xB6, \xD1\x81\xD1\x8A\xD0\xB5\xD1\x88\xD1\x8C \xD0\xB5\xD1\x89\xD1\x91 \xD0\xB1\xD1\x83\xD0\xBB\xD0\xBE\xD0\xBA",
  };
  const int count = sizeof(lines) / sizeof(lines[0]), step = 40, smallTop = 340;
  LoadCommittedArt();
  ASSERT_TRUE(BigGlyphsTexture && SmallGlyphsTexture);
  BeginPixelScene();
  glBindTexture(GL_TEXTURE_2D, AtlasTexture);
  DrawRect(AtlasBackground, 0, 0, GLTestW, GLTestH);
  DrawPanel(AtlasPanelNormal, 24, 20, 752, step * count - 14);
  for (int i = 0; i < count; i++) {
    DrawText(20, 14.0f + step * i, strchr(lines[i], ':') + 2, 0.5f);   // the menus' 0.65 in 600 pixels
    DrawSmallText(lines[i], 20, smallTop + 24 * i);
    EXPECT_TRUE(HasInk(15, smallTop + 24 * i, 300, 20)) << i;
  }
  // The first letters of "Übung" and "Ёж", each a glyph picture's, where their pens put them.
  EXPECT_TRUE(HasInk((int)(30 + TextAdvance(0.5f) * 7), 14 + step, 12, 30));
  EXPECT_TRUE(HasInk(30, 14 + step * 6, 12, 30));
  SaveFrame("text_preview.png");
}
