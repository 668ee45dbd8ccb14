// key_repeat: a held key that acts once when it goes down, then, after a
// short delay, again and again at a steady rate, as in text editors. Only
// what asks for it repeats; the game's other held keys are read as held.
#pragma once

const float KeyRepeatDelay = 0.4f;            // seconds from the press to the first repeat
const float KeyRepeatInterval = 1.0f / 30;    // seconds between repeats after that

struct KeyRepeat {
  float clock;   // seconds until the next repeat, negated
};

// How many times the key acts this frame of the given length in seconds:
// 1 when it went down now, then the repeats due while it stays held.
int RepeatCount(KeyRepeat* r, bool pressed, float seconds);
