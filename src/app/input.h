// input: one program-wide snapshot of the keyboard, the mouse buttons and the
// pointer, refreshed once per frame by PollInput. Everything else only reads
// it, so a replay can fill the same record and drive the game without SDL.
#pragma once

const int KeyCount = 500;          // SDL 1.2 key symbols all lie below 500
const int MouseButtonCount = 10;   // SDL button numbers 1..9; 0 is never set

// Entry values of KeyState and MouseButtonState.
const int InputUp = 0;        // not down
const int InputHeld = 1;      // went down in an earlier frame, still down
const int InputPressed = 2;   // went down during this frame

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
const int KeyQ = 113;
const int KeyS = 115;
const int KeyT = 116;
const int KeyW = 119;
const int KeyY = 121;
const int KeyZ = 122;
const int KeyUp = 273;
const int KeyDown = 274;
const int KeyRight = 275;
const int KeyLeft = 276;
const int KeyRShift = 303;
const int KeyLShift = 304;
const int KeyRCtrl = 305;
const int KeyLCtrl = 306;
const int ButtonLeft = 1;
const int ButtonMiddle = 2;
const int ButtonRight = 3;

struct InputRecord {
  int KeyState[KeyCount];                // by SDL key symbol
  int MouseButtonState[MouseButtonCount];// by SDL button number
  int MouseX, MouseY;                    // window pixels from the top-left
};
extern InputRecord InputState;

// True when the entry is down (pressed this frame or held).
inline bool IsDown(int state) { return state != InputUp; }

// Takes the key and button events off SDL's queue and refreshes InputState.
void PollInput();

// The state machine PollInput drives, usable without SDL:
void AgeKeys();                 // every key at 2 becomes 1
void ApplyKeyDown(int symbol);  // key goes to 2; symbols outside 0..499 change nothing
void ApplyKeyUp(int symbol);    // key goes to 0
void AgeButtons();              // every button at 2 becomes 1
void ApplyButtonDown(int button); // button goes to 2; numbers outside 0..9 change nothing
void ApplyButtonUp(int button);   // button goes to 0
