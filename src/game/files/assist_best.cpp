// The assisted runs' best scores.
#include "game/files/assist_best.h"

#include <cstdio>

#include "game/base/file_save.h"
#include "game/files/best_save.h"

int LevelAssistBest[MaxLevels];

static int ReadAssistBest(int n)
{
  PathBuffer path;
  FILE* f = AssistScoreFileName(path, n) ? fopen(path, "rb") : nullptr;
  if (!f)
    return 0;
  int best = ReadScoreStream(f);
  fclose(f);
  return best;
}

void LoadAssistBests()
{
  for (int n = 1; n <= MaxLevels; n++)
    LevelAssistBest[n - 1] = LevelSlotShown(n) ? ReadAssistBest(n) : 0;
}

bool KeepAssistBest(int n, int score)
{
  int onDisk = ReadAssistBest(n);
  if (onDisk > LevelAssistBest[n - 1])
    LevelAssistBest[n - 1] = onDisk;
  if (score <= LevelAssistBest[n - 1])
    return false;
  LevelAssistBest[n - 1] = score;
  PathBuffer path;
  BestSave.scoreSaved = AssistScoreFileName(path, n) ? SaveScoreFile(path, score) : SavePathTooLong();
  BestSave.error = BestSave.scoreSaved ? 0 : LastSaveError;
  return true;
}
