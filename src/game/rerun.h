// rerun: a replay re-run on the level in the grid outside play (a medal's
// author run, a record raced as a ghost), with the game's own step. Play's
// records come back as they were: the screen and its size, the sounds
// queued, the level's slot; the run's end is sent nowhere.
//   RerunOnGrid(text, keepPath)   re-runs the replay's text from the grid's spawn
#pragma once

#include <string>

#include "game/replay_run.h"

// The outcome (replayend_playing for a text that is not a replay); with
// keepPath, a run that finishes leaves its path as GhostBest of no slot.
ReplayOutcome RerunOnGrid(const std::string& text, bool keepPath);
