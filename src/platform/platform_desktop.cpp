// The desktop side of the platform operations: SDL 1.2's own queue, the
// program's own frame loop and files in the working directory.
#include "platform/platform.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "game/base/lang.h"
#include "game/base/screen.h"
#include "platform/video.h"

// The locale variables in the order POSIX gives them weight for messages.
static const char* const LocaleVariables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};

// glibc's starting threshold: blocks this large or larger are mapped of
// their own and unmapped when freed.
const int OwnMappingBytes = 128 * 1024;

void StartPlatform()
{
  // Fixed, so that it stays where it starts. Left to itself, glibc raises it
  // to the size of the first large block freed (a decoded picture, 4 MB);
  // the pictures decoded after it, the driver's textures and the level's
  // tables then came from the heap, whose freed pages stay resident.
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, OwnMappingBytes);
#endif
  for (const char* variable : LocaleVariables) {
    const char* locale = getenv(variable);
    if (locale && locale[0]) {
      SetSystemLanguage(locale);
      return;
    }
  }
}

// For the window tests: with TETHERORB2_FRAMES naming a file, the number of
// frames run so far is kept in it, rewritten in place after every frame, so
// a test can hold a key or wait for a number of frames rather than a time.
static int FrameCountFile = -1;
static unsigned long FramesRun;

static void CountFrame()
{
  FramesRun++;
  if (FrameCountFile < 0)
    return;
  char text[24];
  int length = snprintf(text, sizeof text, "%20lu\n", FramesRun);
  if (pwrite(FrameCountFile, text, (size_t)length, 0) != length) {
    close(FrameCountFile);
    FrameCountFile = -1;
  }
}

void RunMainLoop(void (*frame)())
{
  const char* countPath = getenv("TETHERORB2_FRAMES");
  if (countPath && countPath[0])
    FrameCountFile = open(countPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  while (!QuitRequested) {
    frame();
    CountFrame();
  }
}

bool TakeEvent(SDL_Event* event, int type)
{
  Uint32 mask = type == AnyEventType ? SDL_ALLEVENTS : SDL_EVENTMASK(type);
  return SDL_PeepEvents(event, 1, SDL_GETEVENT, mask) > 0;
}

static const Uint32 InputEventMask =
  SDL_EVENTMASK(SDL_KEYDOWN) | SDL_EVENTMASK(SDL_KEYUP) | SDL_EVENTMASK(SDL_MOUSEBUTTONDOWN) |
  SDL_EVENTMASK(SDL_MOUSEBUTTONUP) | SDL_EVENTMASK(SDL_JOYAXISMOTION) | SDL_EVENTMASK(SDL_JOYHATMOTION) |
  SDL_EVENTMASK(SDL_JOYBUTTONDOWN) | SDL_EVENTMASK(SDL_JOYBUTTONUP) | SDL_EVENTMASK(SDL_ACTIVEEVENT);

bool TakeInputEvent(SDL_Event* event)
{
  return SDL_PeepEvents(event, 1, SDL_GETEVENT, InputEventMask) > 0;
}

// Without a window manager the X keyboard focus follows the pointer
// (PointerRoot), so a pointer that leaves the window takes the keys along.
static bool KeysFollowPointer()
{
#ifdef SDL_VIDEO_DRIVER_X11
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11)
    return false;
  Window focus;
  int revertTo;
  XGetInputFocus(info.info.x11.display, &focus, &revertTo);
  return focus == PointerRoot;
#else
  return false;
#endif
}

bool IsFocusLoss(const SDL_Event* event)
{
  if (event->type != SDL_ACTIVEEVENT || event->active.gain)
    return false;
  if (event->active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE))
    return true;
  return (event->active.state & SDL_APPMOUSEFOCUS) && KeysFollowPointer();
}

int KeySymbolOf(const SDL_Event* event)
{
  return event->key.keysym.sym;
}

unsigned TypedCharacterOf(const SDL_Event* event)
{
  return event->key.keysym.unicode;
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

void OpenLinkedLevel()
{
}
