// Stale marks for the keys and buttons held through a change of screen.
#include "app/input_gate.h"

#include <cstring>

#include "app/gamepad.h"
#include "app/input.h"

static const int NoScreen = -1;   // FollowScreen has not been called since the last clear

static struct {
  bool key[KeyCount];
  bool button[MouseButtonCount];
  bool padButton[PadButtonCount];
  bool hat[PadHatCount];
  int screen;
} Stale = {{}, {}, {}, {}, NoScreen};

static void MarkAll(bool* stale, const int* state, int count)
{
  for (int i = 0; i < count; i++)
    stale[i] = IsDown(state[i]);
}

// Held is the only state an entry keeps from before the change without being let go.
static void RefreshAll(bool* stale, const int* state, int count)
{
  for (int i = 0; i < count; i++)
    if (state[i] != InputHeld)
      stale[i] = false;
}

void StaleHeldInputs()
{
  MarkAll(Stale.key, InputState.KeyState, KeyCount);
  MarkAll(Stale.button, InputState.MouseButtonState, MouseButtonCount);
  MarkAll(Stale.padButton, PadState.button, PadButtonCount);
  MarkAll(Stale.hat, PadState.hat, PadHatCount);
}

void FollowScreen(int screen)
{
  if (Stale.screen != NoScreen && screen != Stale.screen)
    StaleHeldInputs();
  Stale.screen = screen;
}

void RefreshStaleInputs()
{
  RefreshAll(Stale.key, InputState.KeyState, KeyCount);
  RefreshAll(Stale.button, InputState.MouseButtonState, MouseButtonCount);
  RefreshAll(Stale.padButton, PadState.button, PadButtonCount);
  RefreshAll(Stale.hat, PadState.hat, PadHatCount);
}

void ClearStaleInputs()
{
  memset(&Stale, 0, sizeof Stale);
  Stale.screen = NoScreen;
}

static int Gated(const bool* stale, const int* state, int count, int n)
{
  if (n < 0 || n >= count || stale[n])
    return InputUp;
  return state[n];
}

int GatedKey(int symbol)
{
  return Gated(Stale.key, InputState.KeyState, KeyCount, symbol);
}

int GatedButton(int button)
{
  return Gated(Stale.button, InputState.MouseButtonState, MouseButtonCount, button);
}

int GatedPadButton(int button)
{
  return Gated(Stale.padButton, PadState.button, PadButtonCount, button);
}

int GatedHat(int direction)
{
  return Gated(Stale.hat, PadState.hat, PadHatCount, direction);
}
