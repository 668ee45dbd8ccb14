// pacing: holds each frame to at least 16 ms, measures FramesPerSecond and
// refreshes the date and clock texts shown on the pause dashboard (game/base/clock_text.h).
// The browser cannot wait: the display's refreshes call each frame, and
// play adds short frames up into steps of 16 ms or more (game/play/play_step.h).
#pragma once

#include "game/play/time_scale.h"

const int MinFrameMilliseconds = ShortestFrameMilliseconds;

extern unsigned LastFrameTick;   // SDL ticks at which the current frame began
extern int FrameTime;            // ms given to the frame just ended, at least 16
extern float FramesPerSecond;    // 1000 / FrameTime; 0 before the first frame
extern bool PacingEnabled;       // true; the benchmark turns the wait off

// The clock PaceFrame reads and the wait it uses; SDL's by default, so a
// test can put a scripted clock in their place.
extern unsigned (*PacingTicks)();
extern void (*PacingDelay)(unsigned milliseconds);

// Waits out the rest of 16 ms, measures the frame and refreshes the texts
// (they stay as they were when the local time cannot be had).
// With PacingEnabled false it does not wait, and FrameTime is the measured
// time but at least 1 ms.
void PaceFrame();
