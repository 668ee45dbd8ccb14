// input: one program-wide snapshot of the keyboard, the mouse buttons and the
// pointer, refreshed once per frame by PollInput. Only the platform reads it
// (the keymap turns it into the controls record; the window takes its own
// keys), so a replay can fill the same record and drive the game without SDL.
// Events are applied in the order they came: a key that goes down and up
// within one frame is pressed for that frame and up from the next.
#pragma once

#include "game/settings/key_names.h"        // KeyCount, MouseButtonCount and the key symbols
#include "platform/input_entry.h"  // InputUp, InputHeld, InputPressed

const int TypedKeysSize = 32;      // key presses one frame keeps in order while text is typed

// A key press while text is typed: the printable character it typed (0 for
// none) and the modifier keys down as it went down.
struct TypedKey {
  int symbol;
  unsigned character;
  bool ctrl, shift, alt;
};

struct InputRecord {
  int KeyState[KeyCount];                // by SDL key symbol
  int MouseButtonState[MouseButtonCount];// by SDL button number
  int MouseX, MouseY;                    // window pixels from the top-left
  bool KeyUpLate[KeyCount];              // pressed and let go this frame: up at the next age step
  bool ButtonUpLate[MouseButtonCount];
  bool FocusLost;                        // the window lost the keyboard focus this frame
  int WheelSteps;                        // mouse wheel steps this frame: toward the player positive
  TypedKey Typed[TypedKeysSize];         // this frame's key presses in order, while WantTypedText
  int TypedCount;
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
// A key event going down with the character SDL translated it to: while
// WantTypedText it is kept in Typed, and a printable character typed without
// Ctrl is text, so the key stays up; else ApplyKeyDown.
void ApplyKeyPress(int symbol, unsigned character);
void ApplyKeyUp(int symbol);    // ReleaseEntry
void AgeButtons();              // AgeEntry for every button
void ApplyButtonDown(int button); // PressEntry; numbers outside 0..9 change nothing
void ApplyButtonUp(int button);   // ReleaseEntry
void ReleaseAllInput();         // every key, mouse button and pad entry up; the pointer stays

// Turns SDL's character translation of key presses on or off: a text field
// asks for it while it has the keys (the browser then lets the page see them
// too, so it stays off otherwise).
void WantTypedText(bool on);
bool TypedTextWanted();
