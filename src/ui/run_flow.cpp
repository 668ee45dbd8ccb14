// Restarting a run, the next level, and leaving play or the editor for the title.
#include "ui/run_flow.h"

#include "game/base/controls.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/files/level_files.h"
#include "game/lobby/online_play.h"
#include "game/lobby/online_tries.h"
#include "game/play/play_step.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "game/run/test_run.h"
#include "game/run/update.h"
#include "game/settings/assists.h"
#include "ui/editor_save.h"
#include "ui/hint_view.h"
#include "ui/level_note.h"
#include "ui/scene.h"

bool PlayLevel(int n)
{
  if (n < 1 || n > MaxLevels || !LevelExists[n - 1] || !LevelReadyToPlay(n))
    return false;
  RequestScreen(gamestate_playing);
  StartLevel(n);
  return true;
}

int NextLevelAfter(int n)
{
  for (int i = n < 0 ? 0 : n; i < MaxLevels; i++)
    if (LevelExists[i] && LevelFileError(i + 1) == 0 && LevelFileSpawns(i + 1) > 0)
      return i + 1;
  return 0;
}

void RestartRun()
{
  if (TestRunActive) {
    EndTestRun();
    BeginTestRunAgain();
    return;
  }
  if (HubLevelInPlay())
    RestartHubLevel();
  else
    PlayLevel(CurrentLevel);
}

void LeaveToTitle()
{
  if (TestRunActive)
    EndTestRun();
  RequestScreen(gamestate_title);
  MenuCursor = 0;
  MenuFirstRow = 0;
}

// The rolling sound of the last step, heard on the frames between steps too.
static float StepRollSpeed;

void PlayFrame(int frameMs)
{
  if (Controls.restart)
    RestartRun();
  float t = TakePlayStep(frameMs, GameSpeedPercent());
  if (t > 0) {
    ApplyAssists();
    UpdateGame(t);
    StepRollSpeed = SoundFrame.rollSpeed;
  } else {
    SoundFrame.rollSpeed = StepRollSpeed;   // the held picture, still rolling
  }
  DrawGameScene();
  DrawHints();   // play's own: the results card shows the scene without them
  bool ended = NextScreen() != gamestate_playing;   // the rules ended the run
  if (ended)
    KeepHubBest();
  if (ended && !TestRunActive)
    NoteHubRunEnd();   // a hub level left unfinished counts as tried there
  if (TestRunActive && (ended || Controls.testRun)) {
    EndTestRun();
    if (ended)
      NoteTestRunEnd();
  }
}
