// SDL's video start, the window with its OpenGL context, and the fixed OpenGL state.
#include "platform/video.h"

#include <SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <cstdio>
#include <cstdlib>

#include "game/settings/settings.h"
#include "platform/platform.h"

float FieldOfView;

int DesktopWidth;
int DesktopHeight;
bool FullScreen;

static SDL_Surface* ScreenSurface;

static const char* WindowCaption = "Tetherorb 2";
static const int MultisampleCount = 4;      // samples per pixel with "antialiasing" on
static const int ColourChannelBits = 5;     // least bits asked for red, green and blue
static const int DepthBufferBits = 16;
static constexpr float DefaultFieldOfView = 45;  // degrees, vertical
static const double NearPlane = 1;          // perspective clip planes, in GL units
static const double FarPlane = 1000;
static const double ClearDepth = 1000;      // GL clamps it to 1, the far value

static void AskForMultisampling(bool on)
{
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, on ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, on ? MultisampleCount : 0);
}

// A window the player can resize, or the whole screen.
static Uint32 ModeFlags(bool fullScreen)
{
  return fullScreen ? SDL_OPENGL | SDL_FULLSCREEN : SDL_OPENGL | SDL_RESIZABLE;
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
  if (SDL_Init(SDL_INIT_VIDEO) < 0) {
    fprintf(stderr, "Tetherorb 2: cannot start SDL's video: %s\n", SDL_GetError());
    exit(ExitVideoInitFailed);
  }
  SDL_WM_SetCaption(WindowCaption, NULL);
  if (Settings.antialiasing)
    AskForMultisampling(true);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, ColourChannelBits);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, ColourChannelBits);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, ColourChannelBits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, DepthBufferBits);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

  const SDL_VideoInfo* info = SDL_GetVideoInfo();
  DesktopWidth = info ? info->current_w : 0;
  DesktopHeight = info ? info->current_h : 0;
  if (ScreenWidth == 0 || ScreenHeight == 0)
    UseDesktopSize();

  int width = (int)ScreenWidth;
  int height = (int)ScreenHeight;
  FullScreen = Settings.fullscreen;
  ScreenSurface = SDL_SetVideoMode(width, height, ScreenDepth, ModeFlags(FullScreen));
  if (!ScreenSurface && Settings.antialiasing) {
    // Some X servers offer no multisampled visual; play on without it.
    AskForMultisampling(false);
    ScreenSurface = SDL_SetVideoMode(width, height, ScreenDepth, ModeFlags(FullScreen));
  }
  if (!ScreenSurface) {
    fprintf(stderr, "Tetherorb 2: no OpenGL video mode: %s\n", SDL_GetError());
    SDL_Quit();
    exit(ExitVideoModeFailed);
  }
}

// Screen records, viewport, projection and fixed state from the surface just set.
static void FollowSurface()
{
  ScreenWidth = (float)ScreenSurface->w;
  ScreenHeight = (float)ScreenSurface->h;
  ScreenDepth = ScreenSurface->format->BitsPerPixel;
  AspectRatio = ScreenWidth / ScreenHeight;
  glViewport(0, 0, ScreenSurface->w, ScreenSurface->h);
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
  FollowSurface();
  SDL_ShowCursor(Settings.showcursor ? SDL_ENABLE : SDL_DISABLE);
}

bool ChangeVideoMode(int width, int height, bool fullScreen)
{
  if (width < 1 || height < 1)
    return false;
  SDL_Surface* surface = SDL_SetVideoMode(width, height, ScreenDepth, ModeFlags(fullScreen));
  if (!surface)
    surface = SDL_SetVideoMode((int)ScreenWidth, (int)ScreenHeight, ScreenDepth, ModeFlags(FullScreen));
  else
    FullScreen = fullScreen;
  if (!surface)
    return false;
  ScreenSurface = surface;
  FollowSurface();
  return FullScreen == fullScreen;
}
