// Frame pacing on SDL's tick clock and the measured frame rate.
#include "platform/pacing.h"

#include <SDL.h>

#include "game/base/clock_text.h"

unsigned LastFrameTick;
int FrameTime;
float FramesPerSecond;
bool PacingEnabled = true;

static unsigned SDLTicks() { return SDL_GetTicks(); }
static void SDLDelay(unsigned milliseconds) { SDL_Delay(milliseconds); }

unsigned (*PacingTicks)() = SDLTicks;
void (*PacingDelay)(unsigned milliseconds) = SDLDelay;

static const float MillisecondsPerSecond = 1000;

void PaceFrame()
{
  // Signed, so a clock that reads a little behind LastFrameTick (an early
  // wake-up) waits a little longer instead of counting as a 49-day frame.
  int elapsed = (int)(PacingTicks() - LastFrameTick);
  if (!PacingEnabled) {
    FrameTime = elapsed > 1 ? elapsed : 1;
  } else if (elapsed < MinFrameMilliseconds) {
    PacingDelay((unsigned)(MinFrameMilliseconds - elapsed));
    FrameTime = MinFrameMilliseconds;
  } else {
    FrameTime = elapsed;
  }
  LastFrameTick += FrameTime;
  FramesPerSecond = MillisecondsPerSecond / FrameTime;

  // A time the C library cannot break down keeps the previous texts.
  time_t now = time(NULL);
  struct tm local;
  if (!localtime_r(&now, &local))
    return;
  FormatDateText(&local);
  FormatClockText(&local);
}
