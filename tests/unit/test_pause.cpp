// The pause layer's logic without a window: the Escape toggle and slide, the
// version text, and screenshots written from a hand-made frozen frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <lodepng.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app/input.h"
#include "app/pause.h"
#include "app/video.h"
#include "render/overlay.h"

namespace {

// One frame's pause step, with Escape going down in it or not.
bool Step(bool escape)
{
  memset(&InputState, 0, sizeof(InputState));
  InputState.KeyState[KeyEscape] = escape ? InputPressed : InputUp;
  return AdvancePause(1);
}

std::string ReadFile(const char* path)
{
  std::string out;
  FILE* f = fopen(path, "rb");
  if (!f)
    return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), f)) > 0)
    out.append(buf, n);
  fclose(f);
  return out;
}

bool Exists(const char* path)
{
  struct stat st;
  return lstat(path, &st) == 0;
}

// Removes the temporary working directory when the test process ends.
struct TempDirRemover {
  std::string path;
  void Remove() { if (!path.empty()) std::filesystem::remove_all(path); }
  ~TempDirRemover() { Remove(); }
} TempDir;

void EnterTempDir()
{
  char dir[] = "/tmp/pause_test_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  TempDir.Remove();
  TempDir.path = dir;
  ASSERT_EQ(chdir(dir), 0);
}

} // namespace

TEST(Pause, EscapeTogglesAndSlides)
{
  PauseLevel = 0;
  PauseWanted = false;
  EXPECT_TRUE(Step(true));     // frame n: the pause starts from 0 and captures
  EXPECT_FLOAT_EQ(PauseLevel, 5);
  EXPECT_FALSE(Step(false));
  EXPECT_FLOAT_EQ(PauseLevel, 10);
  EXPECT_FALSE(Step(true));    // frame n + 2: turns back
  EXPECT_FLOAT_EQ(PauseLevel, 5);
  EXPECT_FALSE(Step(false));
  EXPECT_FLOAT_EQ(PauseLevel, 0);
  EXPECT_FALSE(PauseWanted);

  // Sliding out at 40, Escape turns back up with no new capture.
  PauseLevel = 40;
  PauseWanted = false;
  EXPECT_FALSE(Step(true));
  EXPECT_FLOAT_EQ(PauseLevel, 45);
  for (int i = 0; i < 20; i++)
    EXPECT_FALSE(Step(false));
  EXPECT_FLOAT_EQ(PauseLevel, 100);

  // A held Escape toggles nothing.
  memset(&InputState, 0, sizeof(InputState));
  InputState.KeyState[KeyEscape] = InputHeld;
  EXPECT_FALSE(AdvancePause(1));
  EXPECT_TRUE(PauseWanted);
  EXPECT_FLOAT_EQ(PauseLevel, 100);
}

TEST(Pause, LevelStaysInRange)
{
  PauseWanted = false;
  PauseLevel = 2;
  Step(false);
  EXPECT_FLOAT_EQ(PauseLevel, 0);

  PauseWanted = true;
  PauseLevel = NAN;
  memset(&InputState, 0, sizeof(InputState));
  AdvancePause(1);
  EXPECT_FLOAT_EQ(PauseLevel, 0);
  PauseLevel = 98;
  AdvancePause(1);
  EXPECT_FLOAT_EQ(PauseLevel, 100);   // clamped at the top
  AdvancePause(NAN);
  EXPECT_FLOAT_EQ(PauseLevel, 0);
}

TEST(Pause, VersionText)
{
  char text[64];
  FormatVersionText(text, sizeof(text), 0.3f);
  EXPECT_STREQ(text, "v0.3");
  FormatVersionText(text, sizeof(text), 1);
  EXPECT_STREQ(text, "v1.0");
  FormatVersionText(text, sizeof(text), 2.125f);
  EXPECT_STREQ(text, "v2.125");
}

TEST(Pause, ScreenshotsAreFlippedOpaqueRGBAAndNeverReplaceAFile)
{
  EnterTempDir();
  const int w = 3, h = 2;
  ScreenWidth = w;
  ScreenHeight = h;
  // Bottom row first, as glReadPixels leaves it; alpha is not 255.
  unsigned char frame[w * h * 4];
  for (int i = 0; i < w * h * 4; i++)
    frame[i] = (unsigned char)(i * 7 + 1);
  unsigned char* saved = ReadbackBuffer;
  ReadbackBuffer = frame;

  FILE* f = fopen("screenshot1.png", "wb");
  ASSERT_NE(f, nullptr);
  fputs("keep me", f);
  fclose(f);
  // A name that exists but cannot be opened for reading is taken as well.
  ASSERT_EQ(symlink("missing-target.png", "screenshot2.png"), 0);

  SaveScreenshot();
  SaveScreenshot();
  ReadbackBuffer = saved;

  EXPECT_EQ(ReadFile("screenshot1.png"), "keep me");
  EXPECT_FALSE(Exists("missing-target.png"));
  ASSERT_TRUE(Exists("screenshot3.png"));
  ASSERT_TRUE(Exists("screenshot4.png"));
  EXPECT_FALSE(Exists("screenshot5.png"));
  std::string png = ReadFile("screenshot3.png");
  EXPECT_EQ(png, ReadFile("screenshot4.png"));
  EXPECT_NE(png.find(std::string("tEXtComment\0Created with LodePNG", 31)), std::string::npos);

  LodePNGState state;
  lodepng_state_init(&state);
  state.decoder.color_convert = 0;
  unsigned char* pixels = nullptr;
  unsigned dw = 0, dh = 0;
  unsigned error = lodepng_decode(&pixels, &dw, &dh, &state,
                                  (const unsigned char*)png.data(), png.size());
  ASSERT_EQ(error, 0u);
  EXPECT_EQ(state.info_png.color.colortype, LCT_RGBA);
  EXPECT_EQ(state.info_png.color.bitdepth, 8u);
  ASSERT_EQ(dw, (unsigned)w);
  ASSERT_EQ(dh, (unsigned)h);
  for (int r = 0; r < h; r++) {
    for (int x = 0; x < w; x++) {
      const unsigned char* got = pixels + (r * w + x) * 4;
      const unsigned char* want = frame + ((h - 1 - r) * w + x) * 4;
      EXPECT_EQ(got[0], want[0]);
      EXPECT_EQ(got[1], want[1]);
      EXPECT_EQ(got[2], want[2]);
      EXPECT_EQ(got[3], 255);
    }
  }
  free(pixels);
  lodepng_state_cleanup(&state);
}
