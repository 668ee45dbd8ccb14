// rerun: a replay re-run on the level in the grid outside play (a medal's
// author run, a record raced as a ghost), with the game's own step. Play's
// records come back as they were: the screen and its size, the controls,
// the sounds queued, the level's slot; the run's end is sent nowhere. A
// re-run may be spread over frames, a bounded number of frames of play in
// each, so that a long replay never holds a frame of the screen up.
//   RerunOnGrid(text, keepPath)   re-runs the replay's text from the grid's spawn, whole
//   Rerun                         the re-run spread over frames
//   BeginRerun(text, keepPath)    starts it from the grid's spawn
//   StepRerun()                   once a frame: RerunFramesPerStep more; true once it is over
#pragma once

#include <string>

#include "game/run/replay_run.h"

// Frames of play re-run in one frame of the screen. A frame of play takes
// some 20 microseconds on a desktop, so a step is a few milliseconds, well
// inside the 50 ms a frame may take even in a browser; the longest run
// (MaxGhostFrames) is re-run in about four seconds.
const int RerunFramesPerStep = 240;

struct RerunRecord {
  bool active;           // begun and not over
  bool keepPath;         // a finish leaves its path as the ghost raced
  ReplayPlayer player;   // player.out is the outcome once over
};
extern RerunRecord Rerun;

// The outcome (replayend_playing for a text that is not a replay); with
// keepPath, a run that finishes leaves its path as GhostBest of no slot.
ReplayOutcome RerunOnGrid(const std::string& text, bool keepPath);

// False, with nothing begun, for a text that is not a replay.
bool BeginRerun(const std::string& text, bool keepPath);

// Re-runs up to RerunFramesPerStep frames; true once it is over (and
// Rerun.player.out final, the path kept as RerunOnGrid keeps it), or when
// none is under way.
bool StepRerun();
