// The gamepad record and the SDL 1.2 joystick that feeds it.
#include "app/gamepad.h"

#include <SDL.h>
#include <cstring>

#include "app/input.h"

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

static void AgeEntry(int* state)
{
  if (*state == InputPressed)
    *state = InputHeld;
}

void AgePad()
{
  for (int i = 0; i < PadButtonCount; i++)
    AgeEntry(&PadState.button[i]);
  for (int i = 0; i < PadHatCount; i++)
    AgeEntry(&PadState.hat[i]);
}

void ApplyPadAxis(int axis, int value)
{
  if (axis >= 0 && axis < PadAxisCount)
    PadState.axis[axis] = value;
}

// A press keeps its 2 when the same entry is reported down again this frame.
static void SetEntry(int* state, bool down)
{
  if (!down)
    *state = InputUp;
  else if (*state == InputUp)
    *state = InputPressed;
}

void ApplyPadButton(int button, bool down)
{
  if (button >= 0 && button < PadButtonCount)
    SetEntry(&PadState.button[button], down);
}

void ApplyPadHat(int hatBits)
{
  SetEntry(&PadState.hat[pad_hat_up], (hatBits & SDL_HAT_UP) != 0);
  SetEntry(&PadState.hat[pad_hat_down], (hatBits & SDL_HAT_DOWN) != 0);
  SetEntry(&PadState.hat[pad_hat_left], (hatBits & SDL_HAT_LEFT) != 0);
  SetEntry(&PadState.hat[pad_hat_right], (hatBits & SDL_HAT_RIGHT) != 0);
}

void ReleasePad()
{
  bool present = PadState.present;
  memset(&PadState, 0, sizeof PadState);
  PadState.present = present;
}
