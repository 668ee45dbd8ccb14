// gamepad: the first joystick SDL 1.2 finds at start-up, as a record of its
// axes, buttons and D-pad. PollInput feeds it the pad's events; the key
// bindings turn it into controls. No SDL here, so tests can fill it.
#pragma once

#include "game/settings/key_names.h"   // PadAxisCount, PadButtonCount, PadAxisMax

// D-pad directions, the indexes of PadRecord::hat.
enum { pad_hat_up = 0, pad_hat_down, pad_hat_left, pad_hat_right, PadHatCount };

struct PadRecord {
  int axis[PadAxisCount];         // -32768..32767; 0 until the axis moves
  int button[PadButtonCount];     // InputUp, InputHeld or InputPressed
  int hat[PadHatCount];           // D-pad directions, as buttons
  bool buttonUpLate[PadButtonCount];  // pressed and let go this frame: up at the next AgePad
  bool hatUpLate[PadHatCount];
  bool present;                   // a pad was opened at start-up
};
extern PadRecord PadState;

// Opens the first pad, if any, and asks SDL for its events.
void OpenGamepad();

// The state changes PollInput makes, usable without SDL:
void AgePad();                               // AgeEntry for every button and hat direction
void ApplyPadAxis(int axis, int value);      // out-of-range axes change nothing
void ApplyPadButton(int button, bool down);  // PressEntry or ReleaseEntry
void ApplyPadHat(int hatBits);               // SDL_HAT_* bits of the first hat
void ReleasePad();                           // every button and direction up, sticks centred
