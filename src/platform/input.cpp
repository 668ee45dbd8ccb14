// The input snapshot and the SDL event polling that refreshes it each frame.
#include "platform/input.h"

#include <SDL.h>
#include <cstring>

#include "platform/gamepad.h"
#include "platform/platform.h"
#include "game/utf8.h"

InputRecord InputState;
bool MouseInWindow;

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

void ApplyTypedCharacter(unsigned code)
{
  const unsigned firstPrintable = 0x20, deleteCode = 0x7F, lastC1Control = 0x9F;
  if (code < firstPrintable || (code >= deleteCode && code <= lastC1Control))
    return;
  char bytes[Utf8MaxBytes];
  int n = Utf8Encode(code, bytes);
  size_t used = strlen(InputState.Typed);
  if (n > 0 && used + n < sizeof InputState.Typed) {
    memcpy(InputState.Typed + used, bytes, n);
    InputState.Typed[used + n] = 0;
  }
}

void WantTypedText(bool on)
{
  static bool wanted;
  if (on != wanted)
    SDL_EnableUNICODE(on ? 1 : 0);
  wanted = on;
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
  case SDL_KEYDOWN:
    ApplyKeyDown(KeySymbolOf(event));
    ApplyTypedCharacter(TypedCharacterOf(event));
    break;
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
  InputState.Typed[0] = 0;
  while (TakeInputEvent(&event))
    ApplyEvent(&event);
  if (!WindowHasFocus())
    ReleasePad();   // the pad reaches the game even behind other windows; only the focused game obeys it
  SDL_GetMouseState(&InputState.MouseX, &InputState.MouseY);
}
