// Window resizes, the full-screen switch and what must follow a new video mode.
#include "platform/window.h"

#include <SDL.h>
#include <GL/gl.h>

#include "game/run/pause_state.h"
#include "game/settings/settings.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/video.h"
#include "render/atlas.h"
#include "render/frozen_frame.h"
#include "render/overlay.h"
#include "render/text.h"

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
  return IsDown(InputState.KeyState[KeyLAlt]) || IsDown(InputState.KeyState[KeyRAlt]);
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
  // The options screen's switch moves the setting; the keys move only the window.
  static bool asked = Settings.fullscreen;
  bool optionMoved = Settings.fullscreen != asked;
  asked = Settings.fullscreen;
  if (altEnter || InputState.KeyState[KeyF11] == InputPressed || (optionMoved && Settings.fullscreen != FullScreen))
    ToggleFullScreen();
}
