// time_scale: the step of a frame from its length.
#include "game/play/time_scale.h"

static const float FramesPerSecondNominal = 60;   // the rate all per-frame steps are tuned for
static const float MillisecondsPerSecond = 1000;

float TimeScaleForRate(float framesPerSecond)
{
  float scale = FramesPerSecondNominal / framesPerSecond;
  if (!(scale >= MinFrameTimeScale))   // also a NaN rate, so play never runs on NaN steps
    return MinFrameTimeScale;
  if (scale > MaxFrameTimeScale)
    return MaxFrameTimeScale;
  return scale;
}

// The same float arithmetic as the pacing's rate and the host's scale.
float FrameTimeScale(int milliseconds)
{
  return TimeScaleForRate(MillisecondsPerSecond / (float)milliseconds);
}

bool IsPlayedTimeScale(float t)
{
  for (int ms = ShortestFrameMilliseconds;; ms++) {
    float scale = FrameTimeScale(ms);
    if (scale == t)
      return true;
    if (scale >= MaxFrameTimeScale)
      return false;
  }
}
