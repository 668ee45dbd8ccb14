// assists: what the assist options do to a run, and whether a run had any.
// Game speed scales every step of play (the replay records the scaled step,
// so a slowed run replays as it was played); tether as toggle latches the
// tether button, a click shooting and the next letting go. A run during
// which either was on at any frame is an assisted run: its best is kept
// apart (game/assist_best.h) and it is never sent anywhere.
//   RunAssisted                    an assist was on during the run in play
//   AssistsOn()                    an assist option is on now
//   PlayStepScale(t)               the play step for the frame's TimeScale t
//   ApplyAssists()                 once a play frame, before the step: the latch, RunAssisted
//   StartAssistedRun()             a run starts: no latch, not assisted yet
#pragma once

extern bool RunAssisted;

bool AssistsOn();

// t times the game speed, never below the play step's smallest TimeScale.
float PlayStepScale(float t);

// With tether as toggle, Controls.tether becomes the latch and a click that
// lets go shoots nothing; marks the run assisted while an assist is on.
void ApplyAssists();

void StartAssistedRun();
