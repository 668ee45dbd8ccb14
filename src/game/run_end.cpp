// The record of the last run's end.
#include "game/run_end.h"

#include "game/assist_best.h"
#include "game/assists.h"
#include "game/best_save.h"
#include "game/hub_card.h"
#include "game/hub_vote.h"
#include "game/lang.h"
#include "game/level_files.h"
#include "game/replay_record.h"
#include "game/screen.h"
#include "game/test_run.h"
#include "game/world.h"

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
