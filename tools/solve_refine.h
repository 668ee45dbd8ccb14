// solve_refine: the finishing runs a search has found, made better by small
// changes. A few of the best runs are kept (the elite); one of them at a time
// is changed a little (a segment made longer or shorter, a key pressed or let
// go, the pointer moved, the button held or let go, a segment split or
// dropped) and played again on the real game update from the level's start;
// the change is kept, in place of the worst run, when it finishes with at
// least that run's score. Runs are version 1 input: keys, pointer, button.
//   SolveSegment                       frames of one input
//   SolveRun                           a run: its segments and score
//   ClearElite()                       no runs kept
//   OfferElite(run)                    a finishing run found by the search
//   BestElite()                        the best run kept; null for none
//   RefineElite(restart, seed, until)  changes and replays runs until the clock says until
#pragma once

#include <vector>

const int EliteSize = 6;                // finishing runs kept and changed

struct SolveSegment {
  int frames;
  int keys, button, mouseX, mouseY;   // as a version 1 replay's run
};

struct SolveRun {
  std::vector<SolveSegment> segments;
  int score;                            // time left at the finish, tenths, rounded up
};

void ClearElite();

// Kept when the elite has room or it is better than the worst kept.
void OfferElite(const SolveRun& run);

const SolveRun* BestElite();

// restart puts the level back at its start, as the search began from.
// Returns the number of runs played.
long RefineElite(void (*restart)(), unsigned seed, double untilSeconds, bool verbose);

// Plays the segments from the present state; the score at a finish, -1
// for none. Sets *frames to the frames played.
int PlaySegments(const std::vector<SolveSegment>& segments, int* frames);
