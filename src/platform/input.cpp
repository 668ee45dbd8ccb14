// The input snapshot and the SDL event polling that refreshes it each frame.
#include "platform/input.h"

#include <SDL.h>
#include <cstring>

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

static bool TextWanted;   // a text field has the keys

static bool KeyIsDown(int symbol)
{
  return IsDown(InputState.KeyState[symbol]);
}

void ApplyKeyPress(int symbol, unsigned character)
{
  if (!TextWanted) {
    ApplyKeyDown(symbol);
    return;
  }
  const unsigned firstPrintable = 0x20, deleteCode = 0x7F, lastC1Control = 0x9F;
  bool ctrl = KeyIsDown(KeyLCtrl) || KeyIsDown(KeyRCtrl);
  bool printable = character >= firstPrintable && (character < deleteCode || character > lastC1Control);
  unsigned typed = printable && !ctrl ? character : 0;
  if (InputState.TypedCount < TypedKeysSize)
    InputState.Typed[InputState.TypedCount++] = {symbol, typed, ctrl, KeyIsDown(KeyLShift) || KeyIsDown(KeyRShift),
                                                 KeyIsDown(KeyLAlt) || KeyIsDown(KeyRAlt)};
  if (!typed)
    ApplyKeyDown(symbol);
}

void WantTypedText(bool on)
{
  if (on != TextWanted)
    SDL_EnableUNICODE(on ? 1 : 0);
  TextWanted = on;
}

bool TypedTextWanted()
{
  return TextWanted;
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
    ApplyKeyPress(KeySymbolOf(event), TypedCharacterOf(event));
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
  InputState.TypedCount = 0;
  while (TakeInputEvent(&event))
    ApplyEvent(&event);
  if (!WindowHasFocus())
    ReleasePad();   // the pad reaches the game even behind other windows; only the focused game obeys it
  SDL_GetMouseState(&InputState.MouseX, &InputState.MouseY);
}
