// tetherorb2-bare-window: the memory floor the benchmark measures the game
// against. It opens an SDL 1.2 + OpenGL window the way the game's video does
// (the same attributes, a resizable double-buffered window), then draws a
// few frames of one small textured, blended, alpha-tested quad, as any
// program that shows a picture does, and prints its peak resident memory
// (VmHWM) in kilobytes. The quad matters: on Mesa's software renderer the
// first textured draw alone compiles about 20 MB of rasterizer code, which is
// the driver's, not the game's.
//
//   tetherorb2-bare-window [WIDTH HEIGHT]    800 x 600 by default
#include <SDL.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

#include "peak_memory.h"

static const int ColourChannelBits = 5;   // as the game asks for
static const int DepthBufferBits = 16;
static const int PresentedFrames = 30;
static const int TextureSide = 64;        // texels
static const int TexelBytes = 4;

static void DrawQuad()
{
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(-0.5f, -0.5f);
  glTexCoord2f(1, 0);
  glVertex2f(0.5f, -0.5f);
  glTexCoord2f(1, 1);
  glVertex2f(0.5f, 0.5f);
  glTexCoord2f(0, 1);
  glVertex2f(-0.5f, 0.5f);
  glEnd();
}

int main(int argc, char** argv)
{
  int width = argc > 2 ? atoi(argv[1]) : 800, height = argc > 2 ? atoi(argv[2]) : 600;
  if (width < 1 || height < 1 || SDL_Init(SDL_INIT_VIDEO) < 0) {
    fprintf(stderr, "bare-window: no video\n");
    return 1;
  }
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, ColourChannelBits);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, ColourChannelBits);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, ColourChannelBits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, DepthBufferBits);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  if (!SDL_SetVideoMode(width, height, 0, SDL_OPENGL | SDL_RESIZABLE)) {
    fprintf(stderr, "bare-window: no OpenGL video mode: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  static unsigned char texels[TextureSide * TextureSide * TexelBytes];
  for (int i = 0; i < TextureSide * TextureSide * TexelBytes; i++)
    texels[i] = (unsigned char)(i * 7);
  GLuint texture;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, TextureSide, TextureSide, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0);
  glClearColor(0, 0, 0, 1);
  for (int i = 0; i < PresentedFrames; i++) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawQuad();
    SDL_GL_SwapBuffers();
  }
  printf("%ld\n", PeakResidentKb());
  SDL_Quit();
  return 0;
}
