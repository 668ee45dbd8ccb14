// The game layer's PNG writer, read back by LodePNG: pictures of many sizes
// made of runs, repeated rows and noise come back pixel for pixel.
#include <gtest/gtest.h>
#include <lodepng.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "game/base/png_write.h"

TEST(PngWrite, EveryPictureReadsBackPixelForPixel)
{
  std::mt19937 random(7);
  for (int picture = 0; picture < 300; picture++) {
    int w = 1 + random() % (picture < 20 ? 600 : 70), h = 1 + random() % 40;
    std::vector<unsigned char> rgba((size_t)w * h * 4);
    int kind = picture % 3;   // runs of colour, rows repeated from the one above, or noise
    for (size_t i = 0; i < rgba.size(); i++) {
      bool repeat = (kind == 0 && i >= 4 && random() % 50) || (kind == 1 && i >= (size_t)w * 4 && random() % 20);
      size_t back = kind == 0 ? 4 : (size_t)w * 4;
      rgba[i] = repeat ? rgba[i - back] : (unsigned char)(random() % (kind == 2 ? 256 : 3) * 100);
    }
    std::string png;
    ASSERT_TRUE(EncodePng(rgba.data(), w, h, &png));
    unsigned char* back = nullptr;
    unsigned bw = 0, bh = 0;
    ASSERT_EQ(lodepng_decode32(&back, &bw, &bh, (const unsigned char*)png.data(), png.size()), 0u) << w << "x" << h;
    EXPECT_EQ((int)bw, w);
    EXPECT_EQ((int)bh, h);
    EXPECT_TRUE(std::equal(rgba.begin(), rgba.end(), back)) << "picture " << picture << ", " << w << "x" << h;
    free(back);
  }
  std::string untouched = "x";
  EXPECT_FALSE(EncodePng(nullptr, 0, 5, &untouched));
  EXPECT_EQ(untouched, "x");
}
