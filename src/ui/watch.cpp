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
#include "platform/input.h"
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

// A key, pad or mouse button that went down this frame. The pause and mute
// keys (Escape and M unless moved) keep their meaning on every screen and do
// not count.
static bool AnyPress()
{
  if (Controls.pauseToggle || Controls.mute)
    return false;
  for (int k = 0; k < KeyCount; k++)
    if (InputState.KeyState[k] == InputPressed)
      return true;
  if (Controls.menuChoose || Controls.menuBack)   // the pad's A and B
    return true;
  for (int b = 0; b < MouseButtonCount; b++)
    if (InputState.MouseButtonState[b] == InputPressed)
      return true;
  return false;
}

void WatchFrame(float t)
{
  if (AnyPress())
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
