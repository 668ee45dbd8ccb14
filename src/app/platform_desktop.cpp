// The desktop side of the platform operations: SDL 1.2's own queue, the
// program's own frame loop and files in the working directory.
#include "app/platform.h"

#include <SDL.h>

#include "app/host.h"
#include "app/video.h"

void StartPlatform()
{
}

void RunMainLoop()
{
  while (!QuitRequested)
    RunFrame();
}

bool TakeEvent(SDL_Event* event, int type)
{
  Uint32 mask = type == AnyEventType ? SDL_ALLEVENTS : SDL_EVENTMASK(type);
  return SDL_PeepEvents(event, 1, SDL_GETEVENT, mask) > 0;
}

int KeySymbolOf(const SDL_Event* event)
{
  return event->key.keysym.sym;
}

// SDL 1.2 turns a size of 0 into the desktop's size in that dimension.
void UseDesktopSize()
{
  SDL_Surface* probe = SDL_SetVideoMode((int)ScreenWidth, (int)ScreenHeight, ScreenDepth, SDL_DOUBLEBUF);
  if (!probe)
    return;
  ScreenWidth = (float)probe->w;
  ScreenHeight = (float)probe->h;
  AspectRatio = ScreenWidth / ScreenHeight;
  SDL_FreeSurface(probe);
}

bool WindowHasFocus()
{
  return (SDL_GetAppState() & SDL_APPINPUTFOCUS) != 0;
}

bool PointerInWindow()
{
  return (SDL_GetAppState() & SDL_APPMOUSEFOCUS) != 0;
}

void DeliverScreenshot(const char*)
{
}
