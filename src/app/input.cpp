// The input snapshot and the SDL event polling that refreshes it each frame.
#include "app/input.h"

#include <SDL.h>

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
  SDL_GetMouseState(&InputState.MouseX, &InputState.MouseY);
}
