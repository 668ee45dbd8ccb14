// Opens one window with an OpenGL context in the state the game's video
// set-up leaves, then runs every GL test in it.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include "game/base/screen.h"
#include "gl_fixture.h"

const Colour Red = { 255, 0, 0 }, Green = { 0, 255, 0 }, Blue = { 0, 0, 255 },
             White = { 255, 255, 255 }, Magenta = { 255, 0, 255 }, Yellow = { 255, 255, 0 };
const Colour PieceColours[2][9] = {
  { { 200, 0, 0 }, { 0, 200, 0 }, { 0, 0, 200 }, { 200, 200, 0 }, { 0, 200, 200 },
    { 200, 0, 200 }, { 100, 50, 0 }, { 0, 100, 50 }, { 50, 0, 100 } },
  { { 250, 120, 0 }, { 120, 250, 0 }, { 0, 120, 250 }, { 250, 250, 120 }, { 120, 250, 250 },
    { 250, 120, 250 }, { 160, 80, 40 }, { 40, 160, 80 }, { 80, 40, 160 } },
};

void ExpectNinePieces(const int xs[3], const int ys[3], const Colour* colours)
{
  for (int row = 0; row < 3; row++)
    for (int col = 0; col < 3; col++)
      EXPECT_TRUE(IsColour(xs[col], ys[row], colours[3 * row + col]))
          << "piece " << 3 * row + col << " at " << xs[col] << ", " << ys[row];
}

bool IsColour(int x, int y, Colour c)
{
  const int slack = 8;
  unsigned char p[4];
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, GLTestH - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return abs(p[0] - c.r) <= slack && abs(p[1] - c.g) <= slack && abs(p[2] - c.b) <= slack;
}

bool IsBlack(int x, int y)
{
  const Colour black = { 0, 0, 0 };
  return IsColour(x, y, black);
}

void FillBox(unsigned char* img, int imgW, int x, int y, int w, int h, Colour c)
{
  for (int j = y; j < y + h; j++)
    for (int i = x; i < x + w; i++) {
      unsigned char* p = &img[(j * imgW + i) * 4];
      p[0] = c.r; p[1] = c.g; p[2] = c.b; p[3] = 255;
    }
}

bool WritePng(const char* path, const unsigned char* pixels, int w, int h, LodePNGColorType type)
{
  LodePNGState state;
  lodepng_state_init(&state);
  state.info_raw.colortype = type;
  state.info_raw.bitdepth = 8;
  state.info_png.color.colortype = type;
  state.info_png.color.bitdepth = 8;
  state.encoder.auto_convert = 0;
  unsigned char* png = NULL;
  size_t size = 0;
  unsigned error = lodepng_encode(&png, &size, pixels, w, h, &state);
  lodepng_state_cleanup(&state);
  if (!error)
    error = lodepng_save_file(png, size, path);
  free(png);
  return error == 0;
}

void BeginPixelScene()
{
  glDisable(GL_DEPTH_TEST);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0, GLTestW, GLTestH, 0);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glEnable(GL_ALPHA_TEST);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
}

int main(int argc, char** argv)
{
  testing::InitGoogleTest(&argc, argv);
  // A display that was just started may refuse the first connection; a
  // busy machine may take long to start it, so a minute passes before giving up.
  const int ConnectTries = 600;
  const int ConnectPauseMs = 100;
  int tries = 0;
  while (SDL_Init(SDL_INIT_VIDEO) < 0 && ++tries < ConnectTries)
    SDL_Delay(ConnectPauseMs);
  if (tries == ConnectTries) {
    fprintf(stderr, "gl_tests: no video: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  if (!SDL_SetVideoMode(GLTestW, GLTestH, 0, SDL_OPENGL)) {
    fprintf(stderr, "gl_tests: no OpenGL window: %s\n", SDL_GetError());
    return 3;
  }
  ScreenWidth = GLTestW;
  ScreenHeight = GLTestH;
  AspectRatio = ScreenWidth / ScreenHeight;
  glViewport(0, 0, GLTestW, GLTestH);
  glClearColor(0, 0, 0, 1);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glAlphaFunc(GL_GREATER, 0);
  int result = RUN_ALL_TESTS();
  SDL_Quit();
  return result;
}
