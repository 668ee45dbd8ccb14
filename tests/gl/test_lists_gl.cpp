// The play list drawn with the committed artwork: a long title is cut short
// of the best score and its ghost mark.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include <GL/gl.h>

#include "app/host.h"
#include "game/ghost.h"
#include "game/level_files.h"
#include "gl_fixture.h"
#include "render/atlas.h"
#include "ui/menus.h"

const int RowTopPixel = 185, RowPixels = 40;   // the first row's text in an 800 x 600 window
const int ScoreLeftPixel = 625;                // left of the ghost mark before "99999"

// Row 0 of the play list with level 1 titled title, as RGBA pixels of the whole width.
static std::vector<unsigned char> FirstRow(const std::string& title)
{
  GameState = gamestate_playlist;
  MenuCursor = MenuFirstRow = 0;
  HighestLevel = 1;
  LevelExists[0] = LevelHasGhost[0] = true;
  LevelBest[0] = 99999;
  snprintf(LevelTitles[0], TitleSlotSize, "%s\n", title.c_str());
  BeginPixelScene();
  glBindTexture(GL_TEXTURE_2D, AtlasTexture);
  DrawMenu(gamestate_playlist);
  std::vector<unsigned char> px(GLTestW * RowPixels * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, GLTestH - RowTopPixel - RowPixels, GLTestW, RowPixels, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  return px;
}

// Pixels of columns [left, right) that differ between two rows.
static int Differing(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, int left, int right)
{
  int n = 0;
  for (int y = 0; y < RowPixels; y++)
    for (int x = left; x < right; x++)
      for (int c = 0; c < 3; c++)
        n += a[(y * GLTestW + x) * 4 + c] != b[(y * GLTestW + x) * 4 + c];
  return n;
}

TEST(Lists, LongTitleIsCutBeforeTheScore)
{
  std::string media = std::string(REPO_ROOT) + "/Media";
  {
    ScratchDir dir;
    ASSERT_EQ(0, symlink(media.c_str(), "Media"));
    BuildAtlas();
    BuildFontGlyphs();
  }
  std::vector<unsigned char> shortRow = FirstRow("Short");
  std::vector<unsigned char> longRow = FirstRow(std::string(250, 'W'));
  EXPECT_GT(Differing(shortRow, longRow, GLTestW / 2, GLTestW * 3 / 4), 0) << "the long title is not drawn";
  EXPECT_EQ(Differing(shortRow, longRow, ScoreLeftPixel, GLTestW), 0) << "the title runs into the score";
}
