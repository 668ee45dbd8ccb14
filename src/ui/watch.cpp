// Watching a level's best run.
#include "ui/watch.h"

#include <cstdio>

#include "game/controls.h"
#include "game/ghost.h"
#include "game/level_files.h"
#include "game/level_start.h"
#include "game/rules.h"
#include "game/screen.h"
#include "game/world.h"
#include "ui/bars.h"
#include "ui/scene.h"

static float WatchHeld;        // 60 Hz frames since the recording ended
static char WatchText[64];

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
  snprintf(WatchText, sizeof WatchText, "%s%i%s", "Best run   Score ", ScoreShown(LevelTimer),
           "   Any key stops");
  DrawBar(TopBarTop, WatchText);
}
