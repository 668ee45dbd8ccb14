// One entry's press, release and ageing.
#include "platform/input_entry.h"

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

void SetEntry(int* state, bool* upLate, bool down)
{
  if (down)
    PressEntry(state, upLate);
  else
    ReleaseEntry(state, upLate);
}

void AgeEntries(int* states, bool* upLate, int count)
{
  for (int i = 0; i < count; i++)
    AgeEntry(&states[i], &upLate[i]);
}
