// play_step: which frames of play take a game step, and how long a step
// each. A step never covers less than 16 ms of play, whatever the display's
// refresh rate: the jump's boost is given once a step, so shorter steps would
// let a held jump climb without end. A frame of 16 ms or more is one step of
// its own length, as it always was; shorter frames (a fast display in the
// browser, which has no 16 ms wait) add up into the steps a 60 Hz display
// gives, 16, 17 and 17 ms, and the frames in between only draw the held
// picture. Game speed slows play by leaving out steps, never by shortening
// them: at 50% every other step is taken, so every step's TimeScale is one
// full speed play on the same machine gives. A tether shot, or a jump or
// tether pressed, on a frame that takes no step is kept for the next step.
//   PlayStep                     what is owed toward the next step, the kept presses
//   StepScaleFor(ms)             the TimeScale of a step of ms whole milliseconds
//   TakePlayStep(frameMs, pct)   once a play frame: its step's TimeScale, 0 for none
//   ResetPlayStep()              a run starts: nothing owed, nothing kept
#pragma once

#include "game/play/time_scale.h"

const int MinStepMilliseconds = ShortestFrameMilliseconds;   // the shortest step of play, as the desktop's frame floor
const int FullSpeedPercent = 100;      // play as fast as real time
const int DisplaySteps = 3;            // a 60 Hz display's frames repeat every three: 16, 17, 17 ms

struct PlayStepRecord {
  int owed;              // time of short frames not yet stepped, thirds of a ms; below a 60 Hz frame
  int displayStep;       // 0..2: which of a 60 Hz display's frames short frames make next
  int speedShare;        // percent owed toward the next step at game speed; below 100 between frames
  bool jumpPressed;      // jump went down since the last step (it was up then)
  bool tetherPressed;    // tether went down since the last step (it was up then)
  bool shotPressed;      // a tether shot since the last step
  bool jumpAtStep;       // jump as the last step saw it
  bool tetherAtStep;     // tether as the last step saw it
};
extern PlayStepRecord PlayStep;

// ms below 1 counts as nothing measured: 2, as ComputeTimeScale(0).
float StepScaleFor(int ms);

// A frame of frameMs real ms (0: nothing measured yet, the first frame,
// a step of 2) at percent of full speed (1..100): the TimeScale of the step
// it takes, 0 when it takes none. On a step frame the presses kept since the
// last step are put into the controls record; on other frames the record's
// presses are kept.
float TakePlayStep(int frameMs, int percent);

void ResetPlayStep();
