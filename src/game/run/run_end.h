// run_end: how the last run ended, for the results card: what ended it, the
// time left, the level's best score after it (the assisted best for a run
// made with an assist), whether the run set that best and whether it was saved. The rules fill it in the frame the run ends; the
// card reads it and counts its own age in it.
#pragma once

enum { runend_finished = 0, runend_timeup, runend_harmed };

struct RunEndRecord {
  int outcome;      // runend_*
  int level;        // CurrentLevel of the run; 0 for a level without a slot
  float timeLeft;   // LevelTimer when the run ended, tenths of a second
  int best;         // the level's best score after the run, 0 without a slot
  bool newBest;     // the run's score beat the best the level had
  int saveError;    // with newBest: errno of the best's file that could not be written, else 0
  bool scoreSaved;  // with saveError: the score was written, only its ghost was not
  float cardAge;    // seconds the results card has been up
  bool assisted;    // an assist was on during the run: best is the assisted best; never sent
};
extern RunEndRecord RunEnd;

// Fills RunEnd from the world, the catalogue and (with newBest) BestSave,
// ends the run's replay recording and asks for the results card (a test run
// goes back to the editor instead).
void EndRun(int outcome, bool newBest);

// What ended a run (runend_*), in the card's words: "Finished", "Time up" or "Hit a harmful block".
const char* OutcomeText(int outcome);
