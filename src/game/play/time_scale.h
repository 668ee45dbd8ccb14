// time_scale: how much of a nominal 60 Hz step one frame of play takes, and
// which steps play can take at all. A frame lasts a whole number of
// milliseconds, at least ShortestFrameMilliseconds on the desktop (the pacing
// waits out the rest), and its scale is 60 / (1000 / ms) as a float, held to
// 0.2..2; so unassisted play takes only a small fixed set of scales, from 0.96
// up to 1.98, and 2 for any longer frame. The host steps play with
// TimeScaleForRate; a level hub refuses a replay with any scale off the set.
//   TimeScaleForRate(framesPerSecond)  the scale of a frame at that rate (0.2 for NaN)
//   FrameTimeScale(milliseconds)       the scale of a frame that long
//   IsPlayedTimeScale(t)               t is, bit for bit, a scale of the set
#pragma once

const int ShortestFrameMilliseconds = 16;   // the pacing holds each frame to at least this
const float MinFrameTimeScale = 0.2f;
const float MaxFrameTimeScale = 2;

float TimeScaleForRate(float framesPerSecond);
float FrameTimeScale(int milliseconds);
bool IsPlayedTimeScale(float t);
