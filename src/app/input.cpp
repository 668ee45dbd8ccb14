// The input snapshot and the SDL event polling that refreshes it each frame.
#include "app/input.h"

#include <SDL.h>
#include <cstring>

#include "app/gamepad.h"
#include "app/platform.h"

InputRecord InputState;

void PressEntry(int* state, bool* upLate)
{
  if (*state == InputUp || *upLate)
    *state = InputPressed;
  *upLate = false;
}

void ReleaseEntry(int* state, bool* upLate)
{
  if (*state == InputPressed)
    *upLate = true;
  else
    *state = InputUp;
}

void AgeEntry(int* state, bool* upLate)
{
  if (*upLate)
    *state = InputUp;
  else if (*state == InputPressed)
    *state = InputHeld;
  *upLate = false;
}

void AgeKeys()
{
  for (int i = 0; i < KeyCount; i++)
    AgeEntry(&InputState.KeyState[i], &InputState.KeyUpLate[i]);
}

void ApplyKeyDown(int symbol)
{
  if (symbol >= 0 && symbol < KeyCount)
    PressEntry(&InputState.KeyState[symbol], &InputState.KeyUpLate[symbol]);
}

void ApplyKeyUp(int symbol)
{
  if (symbol >= 0 && symbol < KeyCount)
    ReleaseEntry(&InputState.KeyState[symbol], &InputState.KeyUpLate[symbol]);
}

void AgeButtons()
{
  for (int i = 0; i < MouseButtonCount; i++)
    AgeEntry(&InputState.MouseButtonState[i], &InputState.ButtonUpLate[i]);
}

void ApplyButtonDown(int button)
{
  if (button >= 0 && button < MouseButtonCount)
    PressEntry(&InputState.MouseButtonState[button], &InputState.ButtonUpLate[button]);
}

void ApplyButtonUp(int button)
{
  if (button >= 0 && button < MouseButtonCount)
    ReleaseEntry(&InputState.MouseButtonState[button], &InputState.ButtonUpLate[button]);
}

void ReleaseAllInput()
{
  memset(InputState.KeyState, 0, sizeof InputState.KeyState);
  memset(InputState.KeyUpLate, 0, sizeof InputState.KeyUpLate);
  memset(InputState.MouseButtonState, 0, sizeof InputState.MouseButtonState);
  memset(InputState.ButtonUpLate, 0, sizeof InputState.ButtonUpLate);
  ReleasePad();
}

static bool IsWheel(int button)
{
  return button == ButtonWheelUp || button == ButtonWheelDown;
}

// A key let go in another window never reaches this one, so a lost focus
// lets go of everything. Wheel steps are no presses: they are counted apart.
static void ApplyEvent(const SDL_Event* event)
{
  if (IsFocusLoss(event)) {
    ReleaseAllInput();
    InputState.FocusLost = true;
    return;
  }
  switch (event->type) {
  case SDL_KEYDOWN: ApplyKeyDown(KeySymbolOf(event)); break;
  case SDL_KEYUP: ApplyKeyUp(KeySymbolOf(event)); break;
  case SDL_MOUSEBUTTONDOWN:
    if (IsWheel(event->button.button))
      InputState.WheelSteps += event->button.button == ButtonWheelDown ? 1 : -1;
    else
      ApplyButtonDown(event->button.button);
    break;
  case SDL_MOUSEBUTTONUP: ApplyButtonUp(event->button.button); break;
  case SDL_JOYAXISMOTION: ApplyPadAxis(event->jaxis.axis, event->jaxis.value); break;
  case SDL_JOYHATMOTION:
    if (event->jhat.hat == 0)
      ApplyPadHat(event->jhat.value);
    break;
  case SDL_JOYBUTTONDOWN: ApplyPadButton(event->jbutton.button, true); break;
  case SDL_JOYBUTTONUP: ApplyPadButton(event->jbutton.button, false); break;
  default: break;
  }
}

void PollInput()
{
  SDL_Event event;
  AgeKeys();
  AgeButtons();
  AgePad();
  InputState.FocusLost = false;
  InputState.WheelSteps = 0;
  while (TakeInputEvent(&event))
    ApplyEvent(&event);
  if (!WindowHasFocus())
    ReleasePad();   // the pad reaches the game even behind other windows; only the focused game obeys it
  SDL_GetMouseState(&InputState.MouseX, &InputState.MouseY);
}
