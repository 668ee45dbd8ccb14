// play_step: the frames that step play, their TimeScale, and the presses
// kept across frames that do not.
#include "game/play/play_step.h"

#include "game/base/controls.h"
#include "game/play/time_scale.h"

PlayStepRecord PlayStep;

static const int OwedPerMillisecond = 3;         // short frames are counted in thirds of a ms
static const int DisplayFrameOwed = 50;          // a 60 Hz display's frame, 16 2/3 ms
static const int DisplayStepMilliseconds[DisplaySteps] = {16, 17, 17};

// A step of ms gives the TimeScale a frame of ms has always given.
float StepScaleFor(int ms)
{
  return ms < 1 ? MaxFrameTimeScale : FrameTimeScale(ms);
}

// A frame without a step: its presses wait for the next one.
static void KeepPresses()
{
  PlayStep.shotPressed = PlayStep.shotPressed || Controls.tetherShot;
  PlayStep.jumpPressed = PlayStep.jumpPressed || (Controls.jump && !PlayStep.jumpAtStep);
  PlayStep.tetherPressed = PlayStep.tetherPressed || (Controls.tether && !PlayStep.tetherAtStep);
}

// A step: a press let go again before it still counts, for this step, as a
// press held through it.
static void GivePresses()
{
  Controls.jump = Controls.jump || PlayStep.jumpPressed;
  Controls.tether = Controls.tether || PlayStep.tetherPressed || PlayStep.shotPressed;
  Controls.tetherShot = Controls.tetherShot || PlayStep.shotPressed;
  PlayStep.jumpAtStep = Controls.jump;
  PlayStep.tetherAtStep = Controls.tether;
  PlayStep.jumpPressed = PlayStep.tetherPressed = PlayStep.shotPressed = false;
}

// A frame shorter than a step adds its time toward a 60 Hz display's next
// frame; 0 until one is made.
static int DisplayStepFrom(int frameMs)
{
  PlayStep.owed += frameMs * OwedPerMillisecond;
  if (PlayStep.owed < DisplayFrameOwed)
    return 0;
  PlayStep.owed -= DisplayFrameOwed;
  int ms = DisplayStepMilliseconds[PlayStep.displayStep];
  PlayStep.displayStep = (PlayStep.displayStep + 1) % DisplaySteps;
  return ms;
}

float TakePlayStep(int frameMs, int percent)
{
  int ms = 0;   // nothing measured: the first frame's long step
  if (frameMs >= MinStepMilliseconds) {
    ms = frameMs;
  } else if (frameMs >= 1) {
    ms = DisplayStepFrom(frameMs);
    if (ms == 0) {
      KeepPresses();
      return 0;
    }
  }
  // Game speed takes its share of the steps; the others are left out.
  if (percent < 1)
    percent = 1;
  PlayStep.speedShare += percent < FullSpeedPercent ? percent : FullSpeedPercent;
  if (PlayStep.speedShare < FullSpeedPercent) {
    KeepPresses();
    return 0;
  }
  PlayStep.speedShare -= FullSpeedPercent;
  GivePresses();
  return StepScaleFor(ms);
}

void ResetPlayStep()
{
  PlayStep = PlayStepRecord();
}
