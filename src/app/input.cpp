// The input snapshot and the SDL event polling that refreshes it each frame.
#include "app/input.h"

#include <SDL.h>

#include "app/gamepad.h"
#include "app/platform.h"

InputRecord InputState;

void AgeKeys()
{
  for (int i = 0; i < KeyCount; i++)
    if (InputState.KeyState[i] == InputPressed)
      InputState.KeyState[i] = InputHeld;
}

void ApplyKeyDown(int symbol)
{
  if (symbol >= 0 && symbol < KeyCount)
    InputState.KeyState[symbol] = InputPressed;
}

void ApplyKeyUp(int symbol)
{
  if (symbol >= 0 && symbol < KeyCount)
    InputState.KeyState[symbol] = InputUp;
}

void AgeButtons()
{
  for (int i = 0; i < MouseButtonCount; i++)
    if (InputState.MouseButtonState[i] == InputPressed)
      InputState.MouseButtonState[i] = InputHeld;
}

void ApplyButtonDown(int button)
{
  if (button >= 0 && button < MouseButtonCount)
    InputState.MouseButtonState[button] = InputPressed;
}

void ApplyButtonUp(int button)
{
  if (button >= 0 && button < MouseButtonCount)
    InputState.MouseButtonState[button] = InputUp;
}

// Every down event of a kind is applied before every up event of that kind,
// whatever their order on the queue, so a press and release between two
// frames leaves the key up.
void PollInput()
{
  SDL_Event event;
  AgeKeys();
  while (TakeEvent(&event, SDL_KEYDOWN))
    ApplyKeyDown(KeySymbolOf(&event));
  while (TakeEvent(&event, SDL_KEYUP))
    ApplyKeyUp(KeySymbolOf(&event));
  AgeButtons();
  while (TakeEvent(&event, SDL_MOUSEBUTTONDOWN))
    ApplyButtonDown(event.button.button);
  while (TakeEvent(&event, SDL_MOUSEBUTTONUP))
    ApplyButtonUp(event.button.button);
  AgePad();
  while (TakeEvent(&event, SDL_JOYAXISMOTION))
    ApplyPadAxis(event.jaxis.axis, event.jaxis.value);
  while (TakeEvent(&event, SDL_JOYHATMOTION))
    if (event.jhat.hat == 0)
      ApplyPadHat(event.jhat.value);
  while (TakeEvent(&event, SDL_JOYBUTTONDOWN))
    ApplyPadButton(event.jbutton.button, true);
  while (TakeEvent(&event, SDL_JOYBUTTONUP))
    ApplyPadButton(event.jbutton.button, false);
  if (!WindowHasFocus())
    ReleasePad();   // the pad reaches the game even behind other windows; only the focused game obeys it
  SDL_GetMouseState(&InputState.MouseX, &InputState.MouseY);
}
