// input: one program-wide snapshot of the keyboard, the mouse buttons and the
// pointer, refreshed once per frame by PollInput. Everything else only reads
// it, so a replay can fill the same record and drive the game without SDL.
// Events are applied in the order they came: a key that goes down and up
// within one frame is pressed for that frame and up from the next.
#pragma once

const int KeyCount = 500;          // SDL 1.2 key symbols all lie below 500
const int MouseButtonCount = 10;   // SDL button numbers 1..9; 0 is never set

// Entry values of KeyState and MouseButtonState.
const int InputUp = 0;        // not down
const int InputHeld = 1;      // went down in an earlier frame, still down
const int InputPressed = 2;   // went down during this frame (and may have come up since)

// SDL 1.2 key symbols and buttons the game reads (same values as SDLK_*).
const int KeyBackspace = 8;
const int KeyTab = 9;
const int KeyReturn = 13;
const int KeyEscape = 27;
const int KeySpace = 32;
const int KeyA = 97;
const int KeyB = 98;
const int KeyD = 100;
const int KeyE = 101;
const int KeyF = 102;
const int KeyG = 103;
const int KeyM = 109;
const int KeyN = 110;
const int KeyQ = 113;
const int KeyR = 114;
const int KeyS = 115;
const int KeyT = 116;
const int KeyW = 119;
const int KeyY = 121;
const int KeyZ = 122;
const int KeyDelete = 127;
const int KeyUp = 273;
const int KeyDown = 274;
const int KeyRight = 275;
const int KeyLeft = 276;
const int KeyHome = 278;
const int KeyEnd = 279;
const int KeyPageUp = 280;
const int KeyPageDown = 281;
const int KeyRShift = 303;
const int KeyLShift = 304;
const int KeyRCtrl = 305;
const int KeyLCtrl = 306;
const int ButtonLeft = 1;
const int ButtonMiddle = 2;
const int ButtonRight = 3;
const int ButtonWheelUp = 4;     // a wheel step comes as a press and release at once
const int ButtonWheelDown = 5;

struct InputRecord {
  int KeyState[KeyCount];                // by SDL key symbol
  int MouseButtonState[MouseButtonCount];// by SDL button number
  int MouseX, MouseY;                    // window pixels from the top-left
  bool KeyUpLate[KeyCount];              // pressed and let go this frame: up at the next age step
  bool ButtonUpLate[MouseButtonCount];
  bool FocusLost;                        // the window lost the keyboard focus this frame
  int WheelSteps;                        // mouse wheel steps this frame: toward the player positive
};
extern InputRecord InputState;

// True when the entry is down (pressed this frame or held).
inline bool IsDown(int state) { return state != InputUp; }

// Takes the key, button, pad and focus events off SDL's queue in their order
// and refreshes InputState and PadState. A lost focus lets every key and
// button go and sets FocusLost.
void PollInput();

// One entry (key or button) and its late release, as its events come:
void PressEntry(int* state, bool* upLate);    // up or let go this frame: 2; down: stays
void ReleaseEntry(int* state, bool* upLate);  // 0, or stays 2 until AgeEntry when pressed this frame
void AgeEntry(int* state, bool* upLate);      // 2 becomes 1, or 0 when it was let go late

// The state machine PollInput drives, usable without SDL:
void AgeKeys();                 // AgeEntry for every key
void ApplyKeyDown(int symbol);  // PressEntry; symbols outside 0..499 change nothing
void ApplyKeyUp(int symbol);    // ReleaseEntry
void AgeButtons();              // AgeEntry for every button
void ApplyButtonDown(int button); // PressEntry; numbers outside 0..9 change nothing
void ApplyButtonUp(int button);   // ReleaseEntry
void ReleaseAllInput();         // every key, mouse button and pad entry up; the pointer stays
