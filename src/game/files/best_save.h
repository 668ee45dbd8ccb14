// best_save: keeping a run that beat the level's best. The score file is read
// again first, so a higher best another copy of the game wrote meanwhile is
// never lowered and its ghost never replaced. A new best is then saved, score
// first and its ghost after; what could not be written is noted here for the
// results card, and the best still holds for the rest of the session.
#pragma once

// What became of the files of the last new best.
struct BestSaveRecord {
  int error;         // errno of the write that failed; 0 when both files were written
  bool scoreSaved;   // the score file was written (with error: only the ghost was lost)
};
extern BestSaveRecord BestSave;

// True when score beats level n's best, after LevelBest has taken in a higher
// best from the score file as it is now (its ghost is then read again at the
// next run). n is 1..MaxLevels.
bool BeatsBest(int n, int score);

// Score becomes level n's best and GhostTake its best run, in memory and on
// disk as far as the files can be written (BestSave says how far). A ghost
// that cannot be written beside a saved score is removed, since it is the run
// of an older best.
void KeepBest(int n, int score);
