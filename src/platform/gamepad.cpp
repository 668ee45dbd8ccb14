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
  for (int i = 0; i < PadButtonCount; i++)
    AgeEntry(&PadState.button[i], &PadState.buttonUpLate[i]);
  for (int i = 0; i < PadHatCount; i++)
    AgeEntry(&PadState.hat[i], &PadState.hatUpLate[i]);
}

void ApplyPadAxis(int axis, int value)
{
  if (axis >= 0 && axis < PadAxisCount)
    PadState.axis[axis] = value;
}

// Every hat event reports all four directions; one already down stays as it is.
static void SetEntry(int* state, bool* upLate, bool down)
{
  if (down)
    PressEntry(state, upLate);
  else
    ReleaseEntry(state, upLate);
}

void ApplyPadButton(int button, bool down)
{
  if (button >= 0 && button < PadButtonCount)
    SetEntry(&PadState.button[button], &PadState.buttonUpLate[button], down);
}

void ApplyPadHat(int hatBits)
{
  static const int Bits[PadHatCount] = {SDL_HAT_UP, SDL_HAT_DOWN, SDL_HAT_LEFT, SDL_HAT_RIGHT};
  for (int d = 0; d < PadHatCount; d++)
    SetEntry(&PadState.hat[d], &PadState.hatUpLate[d], (hatBits & Bits[d]) != 0);
}

void ReleasePad()
{
  bool present = PadState.present;
  memset(&PadState, 0, sizeof PadState);
  PadState.present = present;
}
