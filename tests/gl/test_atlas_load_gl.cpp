// Loading the atlas picture: missing, 24-bit with padded rows, grey, and
// with and without mipmaps.
#include <gtest/gtest.h>

#include <unistd.h>
#include <sys/stat.h>
#include <vector>

#include <GL/gl.h>

#include "game/settings/settings.h"
#include "gl_fixture.h"
#include "render/atlas.h"
#include "render/text.h"

static const char AtlasPath[] = "Media/tetherorb2texture.png";

class AtlasLoadTest : public testing::Test {
protected:
  ScratchDir dir;
  void SetUp() override
  {
    mkdir("Media", 0755);
    Settings.mipmapping = false;
  }
};

static std::vector<unsigned char> TexelsRgba(unsigned name, int w, int h, int level = 0)
{
  std::vector<unsigned char> texels(w * h * 4);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  return texels;
}

static int LevelWidth(unsigned name, int level)
{
  int w = 0;
  glBindTexture(GL_TEXTURE_2D, name);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
  return w;
}

TEST_F(AtlasLoadTest, MissingPictureGivesNameZeroAndFilledTables)
{
  memset(&AtlasBall, 0, sizeof(AtlasBall));
  BuildAtlas();
  EXPECT_EQ(0u, AtlasTexture);
  EXPECT_GT(AtlasBall.st[2], AtlasBall.st[0]);

  ASSERT_TRUE(WritePng(AtlasPath, std::vector<unsigned char>(16, 0).data(), 2, 2, LCT_RGBA));
  ASSERT_EQ(0, truncate(AtlasPath, 40));
  EXPECT_EQ(0u, LoadAtlasTexture());
}

TEST_F(AtlasLoadTest, RgbRowsWithPaddingKeepTheirPixels)
{
  // Six 3-byte pixels make 18-byte rows, not a multiple of 4 bytes.
  const int w = 6, h = 4;
  std::vector<unsigned char> rgb(w * h * 3);
  for (size_t i = 0; i < rgb.size(); i++)
    rgb[i] = (unsigned char)(i * 7 + 3);
  ASSERT_TRUE(WritePng(AtlasPath, rgb.data(), w, h, LCT_RGB));
  unsigned name = LoadAtlasTexture();
  ASSERT_NE(0u, name);
  std::vector<unsigned char> texels = TexelsRgba(name, w, h);
  for (int p = 0; p < w * h; p++) {
    SCOPED_TRACE(p);
    EXPECT_EQ(rgb[p * 3 + 0], texels[p * 4 + 0]);
    EXPECT_EQ(rgb[p * 3 + 1], texels[p * 4 + 1]);
    EXPECT_EQ(rgb[p * 3 + 2], texels[p * 4 + 2]);
    EXPECT_EQ(255, texels[p * 4 + 3]);
  }
}

TEST_F(AtlasLoadTest, RgbaAndGreyPicturesLoadWithTheirColours)
{
  const int w = 5, h = 3;
  std::vector<unsigned char> rgba(w * h * 4);
  for (size_t i = 0; i < rgba.size(); i++)
    rgba[i] = (unsigned char)(i * 11 + 1);
  ASSERT_TRUE(WritePng(AtlasPath, rgba.data(), w, h, LCT_RGBA));
  unsigned name = LoadAtlasTexture();
  ASSERT_NE(0u, name);
  EXPECT_EQ(rgba, TexelsRgba(name, w, h));

  // Grey pictures load as RGBA with the grey in every colour channel.
  std::vector<unsigned char> grey(w * h);
  for (size_t i = 0; i < grey.size(); i++)
    grey[i] = (unsigned char)(i * 17);
  ASSERT_TRUE(WritePng(AtlasPath, grey.data(), w, h, LCT_GREY));
  name = LoadAtlasTexture();
  ASSERT_NE(0u, name);
  std::vector<unsigned char> texels = TexelsRgba(name, w, h);
  for (int p = 0; p < w * h; p++) {
    SCOPED_TRACE(p);
    EXPECT_EQ(grey[p], texels[p * 4 + 0]);
    EXPECT_EQ(grey[p], texels[p * 4 + 2]);
    EXPECT_EQ(255, texels[p * 4 + 3]);
  }
}

TEST_F(AtlasLoadTest, MipmapSettingChoosesLevelsAndFilters)
{
  std::vector<unsigned char> rgba(16 * 16 * 4);
  for (size_t i = 0; i < rgba.size(); i++)
    rgba[i] = (unsigned char)(i * 37 % 251);
  ASSERT_TRUE(WritePng(AtlasPath, rgba.data(), 16, 16, LCT_RGBA));

  unsigned plain = LoadAtlasTexture();
  ASSERT_NE(0u, plain);
  GLint minFilter, magFilter, wrap;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
  EXPECT_EQ(GL_LINEAR, minFilter);
  EXPECT_EQ(GL_LINEAR, magFilter);
  EXPECT_EQ(GL_REPEAT, wrap);
  EXPECT_EQ(16, LevelWidth(plain, 0));
  EXPECT_EQ(0, LevelWidth(plain, 1));

  Settings.mipmapping = true;
  unsigned mipped = LoadAtlasTexture();
  ASSERT_NE(0u, mipped);
  EXPECT_NE(plain, mipped);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  EXPECT_EQ(GL_LINEAR_MIPMAP_LINEAR, minFilter);
  EXPECT_EQ(GL_LINEAR, magFilter);
  EXPECT_EQ(8, LevelWidth(mipped, 1));
  EXPECT_EQ(1, LevelWidth(mipped, 4));
  // Each texel of a level is the rounded mean of a 2 x 2 block above, as GLU's box filter.
  std::vector<unsigned char> level1 = TexelsRgba(mipped, 8, 8, 1);
  for (int i = 0; i < 8 * 8 * 4; i++) {
    int x = i / 4 % 8, y = i / 32, c = i % 4, sum = 0;
    for (int k = 0; k < 4; k++)
      sum += rgba[((2 * y + k / 2) * 16 + 2 * x + k % 2) * 4 + c];
    ASSERT_EQ((sum + 2) / 4, level1[i]) << "texel " << x << ", " << y << " channel " << c;
  }
  Settings.mipmapping = false;
}
