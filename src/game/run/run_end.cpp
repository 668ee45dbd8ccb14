// The record of the last run's end.
#include "game/run/run_end.h"

#include "game/base/lang.h"
#include "game/base/screen.h"
#include "game/files/assist_best.h"
#include "game/files/best_save.h"
#include "game/files/level_files.h"
#include "game/files/replay_record.h"
#include "game/online/online_card.h"
#include "game/online/online_vote.h"
#include "game/play/world.h"
#include "game/run/test_run.h"
#include "game/settings/assists.h"

RunEndRecord RunEnd;

void EndRun(int outcome, bool newBest)
{
  RunEnd.outcome = outcome;
  RunEnd.level = CurrentLevel >= 1 && CurrentLevel <= MaxLevels ? CurrentLevel : 0;
  RunEnd.timeLeft = LevelTimer;
  RunEnd.assisted = RunAssisted;
  const int* bests = RunAssisted ? LevelAssistBest : LevelBest;
  RunEnd.best = RunEnd.level ? bests[RunEnd.level - 1] : 0;
  RunEnd.newBest = newBest;
  RunEnd.saveError = newBest ? BestSave.error : 0;
  RunEnd.scoreSaved = newBest && BestSave.scoreSaved;
  RunEnd.cardAge = 0;
  EndReplayRecording();
  BeginHubCard(outcome == runend_finished, RunEnd.assisted, TestRunActive);
  BeginHubVote(outcome == runend_finished, TestRunActive);
  RequestScreen(gamestate_results);
}

const char* OutcomeText(int outcome)
{
  switch (outcome) {
  case runend_finished: return Tr("Finished");
  case runend_timeup: return Tr("Time up");
  default: return Tr("Hit a harmful block");
  }
}
