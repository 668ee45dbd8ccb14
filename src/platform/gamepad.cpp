// The gamepad record and the SDL 1.2 joystick that feeds it.
#include "platform/gamepad.h"

#include <SDL.h>
#include <cstring>

#include "platform/input_entry.h"

PadRecord PadState;

static SDL_Joystick* OpenPad;

void OpenGamepad()
{
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0 || SDL_NumJoysticks() < 1)
    return;
  OpenPad = SDL_JoystickOpen(0);
  PadState.present = OpenPad != NULL;
  SDL_JoystickEventState(SDL_ENABLE);
}

void AgePad()
{
  AgeEntries(PadState.button, PadState.buttonUpLate, PadButtonCount);
  AgeEntries(PadState.hat, PadState.hatUpLate, PadHatCount);
}

void ApplyPadAxis(int axis, int value)
{
  if (axis >= 0 && axis < PadAxisCount)
    PadState.axis[axis] = value;
}

void ApplyPadButton(int button, bool down)
{
  if (button >= 0 && button < PadButtonCount)
    SetEntry(&PadState.button[button], &PadState.buttonUpLate[button], down);
}

// Every hat event reports all four directions; one already down stays as it is.
void ApplyPadHat(int hatBits)
{
  static const int Bits[] = {SDL_HAT_UP, SDL_HAT_DOWN, SDL_HAT_LEFT, SDL_HAT_RIGHT};
  static_assert(sizeof Bits / sizeof Bits[0] == PadHatCount, "one entry per PadHatCount");
  for (int d = 0; d < PadHatCount; d++)
    SetEntry(&PadState.hat[d], &PadState.hatUpLate[d], (hatBits & Bits[d]) != 0);
}

void ReleasePad()
{
  bool present = PadState.present;
  memset(&PadState, 0, sizeof PadState);
  PadState.present = present;
}
