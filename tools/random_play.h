// random_play: seeded made-up play for the tools and tests that run the game
// step many times: steering, jumps, tether shots held through a swing, let go
// or shot again, at the frame steps the window game gives (whole frames of
// MinFrameMs..MaxFrameMs). Its own generator, not rand(), so a seed makes the
// same play with every C library.
//   StartRandomPlay(p, seed)    a fresh stream of play
//   NextRandomFrame(p, c)       the next frame's controls into c; returns its time scale
#pragma once

#include "game/files/replay.h"
#include "game/play/time_scale.h"

const int MinFrameMs = 16;   // the paced frame
const int MaxFrameMs = 33;   // a frame of a slow machine, time scale just under 2

struct RandomPlay {
  unsigned long long state;  // xorshift64, never zero
  int segmentLeft;           // frames before the next choice
  PlayControls held;         // the controls of the current segment
};

void StartRandomPlay(RandomPlay* p, unsigned seed);
float NextRandomFrame(RandomPlay* p, PlayControls* c);
