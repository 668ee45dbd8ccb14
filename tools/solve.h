// solve: a search for inputs that finish the level in play. It explores the
// deterministic game update from the start of a level: short segments of
// steering, jump and tether (fired in one of a set of directions) are tried
// from states kept in an archive, one state per coarse cell of position,
// velocity, gravity and tether, keeping the one that got there with the most
// time left. States are picked mostly by their path distance to a finish.
// The archive starts with steady play (one input held from the start, as a
// player mashing right and jump would). To improve on a finish, the search
// gives part of its time to the archive and the rest to small changes of the
// best finishing runs (solve_refine.h). Its replays are version 1, played
// with the older camera, as every replay of that version re-runs.
#pragma once

#include "game/run/replay_run.h"

const double DefaultSolveSeconds = 120;   // processor seconds a search may take
const double ArchiveShare = 0.4;          // of the time of a search that improves, the archive's; the rest refines

struct SolveOptions {
  double seconds;     // give up after this much processor time
  unsigned seed;      // for the choice of states and segments
  bool verbose;       // print progress to stderr
  bool improve;       // after the first finish, keep searching for a better score until the time is up
  const Replay* from; // a version 1 run to start the best few from (a level's present solution); null for none
};

// Fills opt with DefaultSolveSeconds, seed 1, quiet, stop at the first finish, no run to start from.
void DefaultSolveOptions(SolveOptions* opt);

// Searches from the level as StartLevel or StartLevelFile left it, with the
// window size of ReplayScreenWidth x ReplayScreenHeight. True when a finish
// was reached; out then holds the best replay found. The game state is left
// wherever the search stopped: start the level again to replay.
bool SolveLevel(const SolveOptions* opt, Replay* out);
