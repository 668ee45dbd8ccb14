// platform: the few things that differ between the desktop program and the
// web page built from the same sources. platform_desktop.cpp is the desktop
// side; platform_web.cpp (with platform_web.js and platform_web.html) is the
// browser side, built only by the web build. Everything else stays the same.
#pragma once

union SDL_Event;

const int AnyEventType = -1;   // TakeEvent: an event of any type

// Before the settings are read. Both: hand the system's language to
// SetSystemLanguage (desktop: LC_ALL, LC_MESSAGES or LANG, the first set;
// browser: navigator.language). Desktop: keeps large blocks out of the heap,
// so that their memory goes back when freed. Browser: fills Levels/ with
// the shipped levels and, over them, the player's files kept in IndexedDB,
// leaves the frame pacing to the browser, and keeps the hub token and name
// in Levels/ with the files it stores.
void StartPlatform();

// After start-up. Desktop: nothing. Browser: a page the hub served for one
// level (/play/LEVELID) fetches that level from its own origin and plays it.
void OpenLinkedLevel();

// Runs frame until QuitRequested (desktop; with TETHERORB2_FRAMES set, the
// count of frames run is kept in the file it names, for tests). Browser: hands frame to the
// page's display refresh; "Exit" goes back to the title screen, and files
// saved during a frame are stored in IndexedDB after it. Does not return there.
void RunMainLoop(void (*frame)());

// Takes one event of the SDL type (or AnyEventType) off SDL's queue; false when none is left.
bool TakeEvent(SDL_Event* event, int type);

// Takes the oldest key, mouse button, pad or focus event off SDL's queue, so
// they are seen in the order they came; false when none is left.
bool TakeInputEvent(SDL_Event* event);

// True for an event that says the window lost the keyboard focus or was
// hidden, or that the pointer left it while the keys follow the pointer (X
// without a window manager); the browser: the page lost the focus or was hidden.
bool IsFocusLoss(const SDL_Event* event);

// The SDL 1.2 key symbol of a key event; -1 for a key the game has no symbol for.
int KeySymbolOf(const SDL_Event* event);

// The character a key press typed (UCS-2 from SDL's translation, on while
// WantTypedText), or 0 when it typed none.
unsigned TypedCharacterOf(const SDL_Event* event);

// ScreenWidth, ScreenHeight and AspectRatio from the size of the desktop
// (SDL 1.2's answer to a 0 x 0 mode) or, in the browser, of the page.
void UseDesktopSize();

// True when the pointer is over the window (or the page's canvas).
bool PointerInWindow();

// True when the window (the browser: the shown page) has the keyboard focus.
bool WindowHasFocus();

// Hands a screenshot just written to the player: desktop keeps the file where
// it is; the browser downloads it and removes the copy.
void DeliverScreenshot(const char* name);
