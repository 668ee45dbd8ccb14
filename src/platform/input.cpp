// The input snapshot and the SDL event polling that refreshes it each frame.
#include "platform/input.h"

#include <SDL.h>
#include <cstring>

#include "game/utf8.h"
#include "platform/gamepad.h"
#include "platform/platform.h"

InputRecord InputState;
bool MouseInWindow;

// Presses (down) or releases entry n of a table; numbers outside it change nothing.
static void SetTableEntry(int* states, bool* upLate, int count, int n, bool down)
{
  if (n >= 0 && n < count)
    SetEntry(&states[n], &upLate[n], down);
}

void AgeKeys() { AgeEntries(InputState.KeyState, InputState.KeyUpLate, KeyCount); }
void AgeButtons() { AgeEntries(InputState.MouseButtonState, InputState.ButtonUpLate, MouseButtonCount); }

void ApplyKeyDown(int symbol)
{
  SetTableEntry(InputState.KeyState, InputState.KeyUpLate, KeyCount, symbol, true);
}

void ApplyKeyUp(int symbol)
{
  SetTableEntry(InputState.KeyState, InputState.KeyUpLate, KeyCount, symbol, false);
}

void ApplyButtonDown(int button)
{
  SetTableEntry(InputState.MouseButtonState, InputState.ButtonUpLate, MouseButtonCount, button, true);
}

void ApplyButtonUp(int button)
{
  SetTableEntry(InputState.MouseButtonState, InputState.ButtonUpLate, MouseButtonCount, button, false);
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
