// pacing: holds each frame to at least 16 ms, measures FramesPerSecond and
// refreshes the date and clock texts shown on the pause dashboard (game/clock_text.h).
// The browser cannot wait: the display's refreshes call each frame, so it
// skips a refresh that comes too early (FrameDue) and counts a frame that
// came a little early as 16 ms, which the next frames make up for. Either
// way every frame of play takes a scale of the played set (game/time_scale.h).
#pragma once

#include "game/time_scale.h"

const int MinFrameMilliseconds = ShortestFrameMilliseconds;
const int EarlyFrameMilliseconds = 3;   // how early a refresh may come and still run a frame when skipping

extern unsigned LastFrameTick;   // SDL ticks at which the current frame began
extern int FrameTime;            // ms given to the frame just ended, at least 16
extern float FramesPerSecond;    // 1000 / FrameTime; 0 before the first frame
extern bool PacingEnabled;       // true; the benchmark turns the wait off
extern bool PacingSkips;         // false; the browser skips early refreshes in place of waiting

// The clock PaceFrame reads and the wait it uses; SDL's by default, so a
// test can put a scripted clock in their place.
extern unsigned (*PacingTicks)();
extern void (*PacingDelay)(unsigned milliseconds);

// Waits out the rest of 16 ms, measures the frame and refreshes the texts
// (they stay as they were when the local time cannot be had).
// With PacingEnabled false it does not wait, and FrameTime is the measured
// time but at least 1 ms.
// With PacingSkips, a frame shorter than 16 ms counts as 16 with no wait.
void PaceFrame();

// With PacingSkips, whether a frame may run now: no more than
// EarlyFrameMilliseconds before 16 ms have passed since the last began. Always true otherwise.
bool FrameDue();
