// Watching a level's best run.
#include "ui/watch.h"

#include <cstdio>

#include "game/base/controls.h"
#include "game/base/lang.h"
#include "game/base/screen.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "game/run/rules.h"
#include "ui/bars.h"
#include "ui/scene.h"

static float WatchHeld;        // 60 Hz frames since the recording ended
static char WatchText[192];

bool StartWatch(int n)
{
  if (n < 1 || n > MaxLevels || !LevelExists[n - 1] || !LevelHasGhost[n - 1])
    return false;
  StartLevel(n);
  GhostRecording = false;
  if (GhostLevel != n || GhostBest.frameCount < 1) {
    LevelHasGhost[n - 1] = false;
    return false;
  }
  Camera.viewHeight = PlayViewHeight;
  WatchHeld = 0;
  RequestScreen(gamestate_watching);
  return true;
}

void WatchFrame(float t)
{
  if (Controls.anyPress)
    RequestScreen(gamestate_playlist);
  else if (!StepGhostWatch(t)) {
    WatchHeld += t;
    if (WatchHeld >= WatchEndHold)
      RequestScreen(gamestate_playlist);
  }
  DrawPlayfield(true);
  ScreenOrtho();
  snprintf(WatchText, sizeof WatchText, Tr("Best run   Score %i   Any key stops"), ScoreShown(LevelTimer));
  DrawBar(TopBarTop, WatchText);
}
