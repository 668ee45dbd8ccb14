// SDL's video start, the window with its OpenGL context, and the fixed OpenGL state.
#include "app/video.h"

#include <SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <cstdlib>

#include "app/platform.h"
#include "app/settings.h"

float ScreenWidth;
float ScreenHeight;
int ScreenDepth;
float AspectRatio;
float FieldOfView;

static SDL_Surface* ScreenSurface;

static const char* WindowCaption = "Tetherorb 2";
static const int MultisampleCount = 4;      // samples per pixel with "antialiasing" on
static const int ColourChannelBits = 5;     // least bits asked for red, green and blue
static const int DepthBufferBits = 16;
static const float DefaultFieldOfView = DefaultFieldOfView;  // degrees, vertical
static const double NearPlane = 1;          // perspective clip planes, in GL units
static const double FarPlane = 1000;
static const double ClearDepth = 1000;      // GL clamps it to 1, the far value

static void AskForMultisampling(bool on)
{
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, on ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, on ? MultisampleCount : 0);
}

static void SetFixedGLState()
{
  glClearColor(0, 0, 0, 1);
  glClearDepth(ClearDepth);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glAlphaFunc(GL_GREATER, 0);
  if (Settings.antialiasing)
    glEnable(GL_MULTISAMPLE);
}

static void SetUpOpenGLMode()
{
  if (SDL_Init(SDL_INIT_VIDEO) < 0)
    exit(ExitVideoInitFailed);
  SDL_WM_SetCaption(WindowCaption, NULL);
  if (Settings.antialiasing)
    AskForMultisampling(true);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, ColourChannelBits);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, ColourChannelBits);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, ColourChannelBits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, DepthBufferBits);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

  if (ScreenWidth == 0 || ScreenHeight == 0)
    UseDesktopSize();

  int width = (int)ScreenWidth;
  int height = (int)ScreenHeight;
  Uint32 flags = Settings.fullscreen ? SDL_OPENGL | SDL_FULLSCREEN : SDL_OPENGL;
  ScreenSurface = SDL_SetVideoMode(width, height, ScreenDepth, flags);
  if (!ScreenSurface && Settings.antialiasing) {
    // Some X servers offer no multisampled visual; play on without it.
    AskForMultisampling(false);
    ScreenSurface = SDL_SetVideoMode(width, height, ScreenDepth, flags);
  }
  if (!ScreenSurface) {
    SDL_Quit();
    exit(ExitVideoModeFailed);
  }

  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(FieldOfView, AspectRatio, NearPlane, FarPlane);
  glMatrixMode(GL_MODELVIEW);
  SetFixedGLState();
}

void SetUpVideo()
{
  FieldOfView = DefaultFieldOfView;
  SetUpOpenGLMode();
  ScreenWidth = (float)ScreenSurface->w;
  ScreenHeight = (float)ScreenSurface->h;
  ScreenDepth = ScreenSurface->format->BitsPerPixel;
  AspectRatio = ScreenWidth / ScreenHeight;
  SDL_ShowCursor(Settings.showcursor ? SDL_ENABLE : SDL_DISABLE);
}
