// input: one program-wide snapshot of the keyboard, the mouse buttons and the
// pointer, refreshed once per frame by PollInput. Everything else only reads
// it, so a replay can fill the same record and drive the game without SDL.
// Events are applied in the order they came: a key that goes down and up
// within one frame is pressed for that frame and up from the next.
#pragma once

#include "game/key_names.h"        // KeyCount, MouseButtonCount and the key symbols
#include "platform/input_entry.h"  // InputUp, InputHeld, InputPressed

const int TypedTextSize = 64;      // bytes of the characters typed in one frame, terminator included

struct InputRecord {
  int KeyState[KeyCount];                // by SDL key symbol
  int MouseButtonState[MouseButtonCount];// by SDL button number
  int MouseX, MouseY;                    // window pixels from the top-left
  bool KeyUpLate[KeyCount];              // pressed and let go this frame: up at the next age step
  bool ButtonUpLate[MouseButtonCount];
  bool FocusLost;                        // the window lost the keyboard focus this frame
  int WheelSteps;                        // mouse wheel steps this frame: toward the player positive
  char Typed[TypedTextSize];             // UTF-8 of the characters typed this frame, while WantTypedText
};
extern InputRecord InputState;
extern bool MouseInWindow;     // the pointer is over the window this frame

// Takes the key, button, pad and focus events off SDL's queue in their order
// and refreshes InputState and PadState. A lost focus lets every key and
// button go and sets FocusLost.
void PollInput();

// The state machine PollInput drives, usable without SDL:
void AgeKeys();                 // AgeEntry for every key
void ApplyKeyDown(int symbol);  // PressEntry; symbols outside 0..499 change nothing
void ApplyKeyUp(int symbol);    // ReleaseEntry
void AgeButtons();              // AgeEntry for every button
void ApplyButtonDown(int button); // PressEntry; numbers outside 0..9 change nothing
void ApplyButtonUp(int button);   // ReleaseEntry
void ReleaseAllInput();         // every key, mouse button and pad entry up; the pointer stays
void ApplyTypedCharacter(unsigned code); // appends a printable character to Typed while it fits whole

// Turns SDL's character translation of key presses on or off: a text field
// that reads Typed asks for it while it has the keys (the browser then lets
// the page see them too, so it stays off otherwise).
void WantTypedText(bool on);
