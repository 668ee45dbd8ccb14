// pacing: holds each frame to at least 16 ms, measures FramesPerSecond and
// rebuilds the date and clock texts shown on the pause dashboard.
#pragma once

const int MinFrameMilliseconds = 16;

extern unsigned LastFrameTick;   // SDL ticks at which the current frame began
extern int FrameTime;            // ms given to the frame just ended, at least 16
extern float FramesPerSecond;    // 1000 / FrameTime; 0 before the first frame
extern char DateText[256];       // "Monday December 7th 2026"
extern char ClockText[256];      // "1:45:30 PM"
extern bool PacingEnabled;       // true; the benchmark turns the wait off

// Waits out the rest of 16 ms, measures the frame and refreshes the texts.
void PaceFrame();
