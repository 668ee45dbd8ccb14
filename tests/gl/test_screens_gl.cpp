// The projection the video set-up leaves; the play list with the committed artwork.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include <GL/gl.h>

#include "game/base/screen.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"
#include "gl_fixture.h"
#include "platform/video.h"
#include "render/atlas.h"
#include "render/text.h"
#include "ui/menus.h"

// 45 degrees on the test window's own size, before any screen sets its own: m[5] = 1 / tan 22.5 degrees.
TEST(Video, SetUpLeavesA45DegreePerspective)
{
  SetUpVideo();
  GLfloat m[16];
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  EXPECT_NEAR(m[5], 2.41421f, 1e-3);
}

const int RowTop = 185, RowPixels = 40, ScoreLeft = 625;   // row 0's text; left of the ghost mark

// RGB bytes of window rows top.. of the menu drawn for frameState, from column left on.
static std::string MenuPixels(int frameState, int left, int top, int rows)
{
  BeginPixelScene();
  glBindTexture(GL_TEXTURE_2D, AtlasTexture);
  DrawMenu(frameState);
  std::string px(3 * (GLTestW - left) * rows, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(left, GLTestH - top - rows, GLTestW - left, rows, GL_RGB, GL_UNSIGNED_BYTE, &px[0]);
  return px;
}

// Row 0 of the play list, level 1 titled title with a ghost and 99999: RGB bytes from column left on.
static std::string FirstRow(const std::string& title, int left)
{
  ShowScreen(gamestate_playlist);
  MenuCursor = MenuFirstRow = 0;
  HighestLevel = 1;
  LevelExists[0] = LevelHasGhost[0] = true;
  LevelBest[0] = 99999;
  snprintf(LevelTitles[0], TitleSlotSize, "%s\n", title.c_str());
  return MenuPixels(gamestate_playlist, left, RowTop, RowPixels);
}

TEST(Lists, LongTitleIsCutBeforeTheScore)
{
  {
    ScratchDir dir;
    ASSERT_EQ(0, symlink((std::string(REPO_ROOT) + "/Media").c_str(), "Media"));
    BuildAtlas();
    BuildFontGlyphs();
  }
  const std::string wide(250, 'W');
  EXPECT_TRUE(FirstRow("Short", GLTestW / 2) != FirstRow(wide, GLTestW / 2)) << "the long title is not drawn";
  EXPECT_TRUE(FirstRow("Short", ScoreLeft) == FirstRow(wide, ScoreLeft)) << "the title runs into the score";
}

// Lit or plain, a row's frame keeps clear of the next, and the rows-above
// marker of the logo: there the backdrop alone shows (results state's).
TEST(Lists, RowFramesAndMarkersKeepClearOfEachOtherAndOfTheLogo)
{
  const int GapY = 193, LogoRows = 130;   // between "Play" and "Edit"; above the heading
  std::string gap = MenuPixels(gamestate_results, 0, GapY, 1);
  std::string logo = MenuPixels(gamestate_results, 0, 0, LogoRows);
  ShowScreen(gamestate_title);
  for (MenuCursor = 0; MenuCursor < 2; MenuCursor++)
    EXPECT_TRUE(MenuPixels(gamestate_title, 0, GapY, 1) == gap) << "with row " << MenuCursor << " lit";
  ShowScreen(gamestate_playlist);
  for (int s = 0; s < ShippedLevelCount; s++)
    LevelExists[s] = true;
  MenuCursor = MenuFirstRow = 3;
  EXPECT_TRUE(MenuPixels(gamestate_playlist, 0, 0, LogoRows) == logo);
  memset(LevelExists, 0, sizeof LevelExists);
}
