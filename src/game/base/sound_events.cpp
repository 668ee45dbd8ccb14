// sound_events: the fixed table of this frame's sound events.
#include "game/base/sound_events.h"

SoundFrameRecord SoundFrame;

void PushSound(int kind, float strength)
{
  if (SoundFrame.count >= MaxSoundEvents || kind < 0 || kind >= sound_kind_count)
    return;
  if (!(strength > 0))
    strength = 0;
  if (strength > 1)
    strength = 1;
  SoundFrame.events[SoundFrame.count].kind = kind;
  SoundFrame.events[SoundFrame.count].strength = strength;
  SoundFrame.count++;
}

void ClearSounds()
{
  SoundFrame.count = 0;
  SoundFrame.rollSpeed = 0;
}

int CountSounds(int kind)
{
  int n = 0;
  for (int i = 0; i < SoundFrame.count; i++)
    n += SoundFrame.events[i].kind == kind;
  return n;
}
