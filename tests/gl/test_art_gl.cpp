// The committed artwork drawn through the real tables: every picture, both
// panel sets, both fonts, the buttons and the cursor. The frame is saved as
// art_preview.png in the working directory for a look by eye.
#include <gtest/gtest.h>

#include <stdio.h>
#include <unistd.h>
#include <string>
#include <vector>

#include <GL/gl.h>

#include "app/input.h"
#include "gl_fixture.h"
#include "render/atlas.h"
#include "render/draw.h"
#include "render/overlay.h"

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

TEST(Artwork, EveryPictureDrawsAndTheFrameIsSaved)
{
  std::string media = std::string(REPO_ROOT) + "/Media";
  {
    ScratchDir dir;
    ASSERT_EQ(0, symlink(media.c_str(), "Media"));
    BuildAtlas();
    BuildFontGlyphs();
    SetUpDashboard();
  }
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
  InputState.MouseX = 200;
  InputState.MouseY = 568;
  OverlayButton("Resume game", 200, 568);
  OverlayButton("Save screenshot", 580, 568);
  DrawCursor(210, 575);
  EXPECT_TRUE(HasInk(20, 0, 380, 100));
  EXPECT_TRUE(HasInk(15, 520, 200, 20));
  EXPECT_TRUE(HasInk(30, 541, 340, 55));

  SaveFrame("art_preview.png");
  printf("frame saved as art_preview.png in the working directory\n");
}
