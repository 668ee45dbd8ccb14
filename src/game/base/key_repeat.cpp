// The repeat timing of a held key.
#include "game/base/key_repeat.h"

int RepeatCount(KeyRepeat* r, bool pressed, float seconds)
{
  if (pressed) {
    r->clock = -KeyRepeatDelay;
    return 1;
  }
  int count = 0;
  r->clock += seconds > 0 ? seconds : 0;   // a NaN frame counts as no time
  while (r->clock >= 0) {
    r->clock -= KeyRepeatInterval;
    count++;
  }
  return count;
}
