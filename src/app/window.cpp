// Window resizes, the full-screen switch and what must follow a new video mode.
#include "app/window.h"

#include <SDL.h>
#include <GL/gl.h>

#include "app/input.h"
#include "app/pause.h"
#include "app/platform.h"
#include "app/video.h"
#include "render/atlas.h"
#include "render/overlay.h"

static const int KeyF11 = SDLK_F11;
static const int KeyRightAlt = SDLK_RALT;
static const int KeyLeftAlt = SDLK_LALT;

static int WindowedWidth, WindowedHeight;   // the window's size before the screen was filled

// Everything that depends on the mode: the frozen frame's room, and the
// textures when the platform gave the new mode a new GL context.
static void FollowNewMode()
{
  NoteWindowChange();
  FitReadbackBuffer();
  if (AtlasTexture && glIsTexture(AtlasTexture))
    return;
  BuildAtlas();
  LoadDashboardTexture();
  UploadFrozenFrame();
}

void ToggleFullScreen()
{
  if (!FullScreen) {
    WindowedWidth = (int)ScreenWidth;
    WindowedHeight = (int)ScreenHeight;
    int w = DesktopWidth > 0 ? DesktopWidth : WindowedWidth;
    int h = DesktopHeight > 0 ? DesktopHeight : WindowedHeight;
    ChangeVideoMode(w, h, true);
  } else {
    int w = WindowedWidth > 0 ? WindowedWidth : (int)ScreenWidth;
    int h = WindowedHeight > 0 ? WindowedHeight : (int)ScreenHeight;
    ChangeVideoMode(w, h, false);
  }
  FollowNewMode();
}

static bool AltHeld()
{
  return IsDown(InputState.KeyState[KeyLeftAlt]) || IsDown(InputState.KeyState[KeyRightAlt]);
}

void FollowWindow()
{
  SDL_Event event;
  int w = 0, h = 0;
  while (TakeEvent(&event, SDL_VIDEORESIZE)) {   // only the last size counts
    w = event.resize.w;
    h = event.resize.h;
  }
  if (w > 0 && h > 0 && !FullScreen && (w != (int)ScreenWidth || h != (int)ScreenHeight)) {
    ChangeVideoMode(w, h, false);
    FollowNewMode();
  }

  bool altEnter = AltHeld() && InputState.KeyState[KeyReturn] == InputPressed;
  if (altEnter)
    InputState.KeyState[KeyReturn] = InputHeld;
  if (altEnter || InputState.KeyState[KeyF11] == InputPressed)
    ToggleFullScreen();
}
