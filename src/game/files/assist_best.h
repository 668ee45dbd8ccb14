// assist_best: the best scores of runs made with an assist (game/settings/assists.h),
// kept apart from the level's best so medals and records compare runs made
// without help. Same form as the score file, in "level<n>.assist.score"
// beside it; an assisted run keeps no ghost, so the ghost raced and watched is
// always that of the unassisted best. A game without such a file (every
// older one) has no assisted best.
//   LevelAssistBest[]           each level's assisted best, 0 when none
//   LoadAssistBests()           all of them from their files
//   KeepAssistBest(n, score)    an assisted finish of level n; true when it set a new assisted best
#pragma once

#include "game/files/level_files.h"

extern int LevelAssistBest[MaxLevels];

void LoadAssistBests();

// Reads level n's file again (a higher best saved meanwhile stands), then
// writes score when it beats that; BestSave says what was written (the
// score, never a ghost). n is 1..MaxLevels.
bool KeepAssistBest(int n, int score);
