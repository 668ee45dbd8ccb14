// Stale marks for the keys and buttons held through a change of screen or a pause.
#include "platform/input_gate.h"

#include <cstring>

#include "platform/gamepad.h"
#include "platform/input.h"

static const int NoScreen = -1;   // FollowScreen has not been called since the last clear

// Per entry: stale (reads as up until let go) and kept (held without a break
// since before the pause layer opened).
static struct {
  bool key[KeyCount], keyKept[KeyCount];
  bool button[MouseButtonCount], buttonKept[MouseButtonCount];
  bool padButton[PadButtonCount], padButtonKept[PadButtonCount];
  bool hat[PadHatCount], hatKept[PadHatCount];
  int screen;
  bool paused;
} Stale = {{}, {}, {}, {}, {}, {}, {}, {}, NoScreen, false};

// One kind of entry: its marks and the state they gate.
struct GateTable {
  bool* stale;
  bool* kept;
  const int* state;
  int count;
};
static const int GateTableCount = 4;

static void Tables(GateTable* t)
{
  t[0] = {Stale.key, Stale.keyKept, InputState.KeyState, KeyCount};
  t[1] = {Stale.button, Stale.buttonKept, InputState.MouseButtonState, MouseButtonCount};
  t[2] = {Stale.padButton, Stale.padButtonKept, PadState.button, PadButtonCount};
  t[3] = {Stale.hat, Stale.hatKept, PadState.hat, PadHatCount};
}

enum GateStep { gate_stale_all, gate_keep_held, gate_stale_unkept, gate_refresh };

// Held is the only state an entry keeps from before without being let go.
static void Apply(GateStep step)
{
  GateTable t[GateTableCount];
  Tables(t);
  for (int k = 0; k < GateTableCount; k++)
    for (int i = 0; i < t[k].count; i++) {
      bool down = IsDown(t[k].state[i]), held = t[k].state[i] == InputHeld;
      switch (step) {
      case gate_stale_all: t[k].stale[i] = down; break;
      case gate_keep_held: t[k].kept[i] = down && !t[k].stale[i]; break;
      case gate_stale_unkept: t[k].stale[i] = t[k].stale[i] || (down && !t[k].kept[i]); break;
      case gate_refresh:
        t[k].stale[i] = t[k].stale[i] && held;
        t[k].kept[i] = t[k].kept[i] && held;
        break;
      }
    }
}

void StaleHeldInputs()
{
  Apply(gate_stale_all);
}

void FollowScreen(int screen, bool paused)
{
  bool known = Stale.screen != NoScreen;
  if (known && screen != Stale.screen)
    StaleHeldInputs();
  else if (known && paused && !Stale.paused)
    Apply(gate_keep_held);
  else if (known && !paused && Stale.paused)
    Apply(gate_stale_unkept);
  Stale.screen = screen;
  Stale.paused = paused;
}

void RefreshStaleInputs()
{
  Apply(gate_refresh);
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
