// The browser side of the platform operations, built by emscripten: its SDL
// emulation's queue and key codes, the page's display refresh as the frame
// loop, IndexedDB behind Levels/, and screenshots as downloads.
#include "platform/platform.h"

#include <SDL.h>
#include <cstdio>
#include <emscripten.h>

#include "game/base/lang.h"
#include "game/base/places.h"
#include "game/base/screen.h"
#include "game/files/level_files.h"
#include "game/files/level_id.h"
#include "game/lobby/online_browse.h"
#include "game/run/pause_state.h"
#include "platform/pacing.h"
#include "platform/video.h"
#include "ui/run_flow.h"

// emscripten's SDL gives keys without a character 1024 + their USB scan code.
static const int ScanCodeKeyBase = 1024;

struct KeyTranslation {
  int scanCode;   // USB HID usage
  int symbol;     // SDL 1.2 key symbol
};

static const KeyTranslation KeyTranslations[] = {
  { 79, 275 }, { 80, 276 }, { 81, 274 }, { 82, 273 },        // right, left, down, up
  { 73, 277 }, { 74, 278 }, { 77, 279 }, { 75, 280 }, { 78, 281 }, // insert, home, end, page up, page down
  { 58, 282 }, { 59, 283 }, { 60, 284 }, { 61, 285 }, { 62, 286 }, { 63, 287 },  // F1..F6
  { 64, 288 }, { 65, 289 }, { 66, 290 }, { 67, 291 }, { 68, 292 }, { 69, 293 },  // F7..F12
  { 98, 256 }, { 89, 257 }, { 90, 258 }, { 91, 259 }, { 92, 260 }, { 93, 261 },  // keypad 0..5
  { 94, 262 }, { 95, 263 }, { 96, 264 }, { 97, 265 }, { 99, 266 }, { 84, 267 },  // keypad 6..9 . /
  { 85, 268 }, { 86, 269 }, { 87, 270 },                      // keypad * - +
  { 83, 300 }, { 57, 301 },                                   // num lock, caps lock
  { 229, 303 }, { 225, 304 }, { 228, 305 }, { 224, 306 },    // right and left shift, control
  { 230, 307 }, { 226, 308 }, { 227, 311 }, { 231, 312 },    // right and left alt, super
};
static const int KeyTranslationCount = sizeof(KeyTranslations) / sizeof(KeyTranslations[0]);

// The page's own lines (platform_web.js) in the language in use.
extern "C" EMSCRIPTEN_KEEPALIVE const char* PageText(const char* english)
{
  return Tr(english);
}

static int StoredSaveCount;   // SavedFileCount when the last IndexedDB store began
static void (*HostFrame)();   // the host's frame, run at each display refresh

void StartPlatform()
{
  static char BrowserLanguage[32];   // navigator.language: "de", "pt-BR", ...
  EM_ASM({ stringToUTF8(String(navigator.language), $0, $1); }, BrowserLanguage, (int)sizeof BrowserLanguage);
  SetSystemLanguage(BrowserLanguage);
  EM_ASM({ Module['startPage'](); });
  PacingEnabled = false;   // the display refresh paces the frames; play still steps by 16 ms or more (game/play/play_step.h)
  // The page keeps only Levels/ in its store: the hub token and name live there.
  snprintf(Places.userSettings, sizeof Places.userSettings, "%s", Places.userLevels);
  Places.cache[0] = 0;   // the browser's fetch keeps the hub's pictures itself
}

void OpenLinkedLevel()
{
  LevelId id = "";
  EM_ASM({
    if (typeof TetherorbHubLevel === 'string')
      stringToUTF8(TetherorbHubLevel, $0, $1);
  }, id, (int)sizeof id);
  if (!IsLevelIdText(id))
    return;
  FetchHubLevelById(id);   // the title screen says what is under way until the level starts
}

// "Exit" on a page that cannot end: back to the title screen, unpaused.
static void ReturnToTitle()
{
  QuitRequested = false;
  DropPause();
  LeaveToTitle();
}

static void WebFrame()
{
  HostFrame();
  if (QuitRequested)
    ReturnToTitle();
  if (SavedFileCount != StoredSaveCount) {
    StoredSaveCount = SavedFileCount;
    EM_ASM({ Module['storeSaves'](); });
  }
}

void RunMainLoop(void (*frame)())
{
  HostFrame = frame;
  emscripten_set_main_loop(WebFrame, 0, 1);
}

bool TakeEvent(SDL_Event* event, int type)
{
  Uint32 first = type == AnyEventType ? SDL_FIRSTEVENT : (Uint32)type;
  Uint32 last = type == AnyEventType ? SDL_LASTEVENT : (Uint32)type;
  return SDL_PeepEvents(event, 1, SDL_GETEVENT, first, last) > 0;
}

// The page's focus and visibility (window events), keys, mouse and pad events
// lie together between these two types.
bool TakeInputEvent(SDL_Event* event)
{
  return SDL_PeepEvents(event, 1, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_JOYBUTTONUP) > 0;
}

// The page's blur (another tab, window or program took the keys) and its
// hiding (another tab shown, the window minimised).
bool IsFocusLoss(const SDL_Event* event)
{
  return event->type == SDL_WINDOWEVENT &&
         (event->window.event == SDL_WINDOWEVENT_FOCUS_LOST || event->window.event == SDL_WINDOWEVENT_HIDDEN);
}

int KeySymbolOf(const SDL_Event* event)
{
  int sym = event->key.keysym.sym;
  if (sym < ScanCodeKeyBase)
    return sym;
  for (int i = 0; i < KeyTranslationCount; i++)
    if (KeyTranslations[i].scanCode == sym - ScanCodeKeyBase)
      return KeyTranslations[i].symbol;
  return -1;
}

// The browser's key events carry the key's own symbol in place of a
// character when the key typed none (Shift, the arrows): those type nothing.
unsigned TypedCharacterOf(const SDL_Event* event)
{
  const unsigned asciiEnd = 0x80;
  unsigned code = event->key.keysym.unicode;
  return code < asciiEnd || code != (unsigned)event->key.keysym.sym ? code : 0;
}

void UseDesktopSize()
{
  ScreenWidth = (float)EM_ASM_INT({ return window.innerWidth; });
  ScreenHeight = (float)EM_ASM_INT({ return window.innerHeight; });
  AspectRatio = ScreenWidth / ScreenHeight;
}

bool WindowHasFocus()
{
  return EM_ASM_INT({ return document.hasFocus() && !document.hidden ? 1 : 0; }) != 0;
}

bool PointerInWindow()
{
  return EM_ASM_INT({ return Module['pointerInside'] ? 1 : 0; }) != 0;
}

void DeliverScreenshot(const char* name)
{
  EM_ASM({
    var name = UTF8ToString($0);
    var blob = new Blob([FS.readFile(name)], { type: 'image/png' });
    var link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function() { URL.revokeObjectURL(link.href); }, 10000);
    FS.unlink(name);
  }, name);
}
