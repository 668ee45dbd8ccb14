// Reading the best again before a finish counts, and saving a new one.
#include "game/files/best_save.h"

#include <cstdio>

#include "game/base/file_save.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"

BestSaveRecord BestSave;

bool BeatsBest(int n, int score)
{
  PathBuffer path;
  FILE* f = ScoreFileName(path, n) ? fopen(path, "rb") : nullptr;
  if (f) {
    int onDisk = ReadScoreStream(f);
    fclose(f);
    if (onDisk > LevelBest[n - 1]) {
      LevelBest[n - 1] = onDisk;
      ForgetGhost(n);
    }
  }
  return score > LevelBest[n - 1];
}

void KeepBest(int n, int score)
{
  LevelBest[n - 1] = score;
  BestSave.scoreSaved = SaveBest(n, score);
  BestSave.error = BestSave.scoreSaved ? 0 : LastSaveError;
  if (!BestSave.scoreSaved) {
    KeepGhost(n);
    return;
  }
  if (SaveGhost(n))
    return;
  BestSave.error = LastSaveError;   // 0 when the run was too short to leave a ghost
  PathBuffer path;
  if (GhostFileName(path, n))
    remove(path);
  LevelHasGhost[n - 1] = false;
}
