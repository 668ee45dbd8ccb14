// The set-up that turns a level file, or the grid in hand, into a level ready to play.
#include "game/run/level_start.h"

#include "game/files/ghost.h"
#include "game/files/level_files.h"
#include "game/files/replay_record.h"
#include "game/online/online_card.h"
#include "game/play/hints.h"
#include "game/play/play_step.h"
#include "game/play/world.h"
#include "game/settings/assists.h"

static const float ViewHeightAtStart = 1.0f; // world units; play sets its own on the first frame

// The ball at rest, no items, no trail: the state before a level is scanned.
static void ResetRun()
{
  StartAssistedRun();
  ResetPlayStep();
  ItemCount = 0;

  Ball.x = 0;
  Ball.y = 0;
  Ball.vx = 0;
  Ball.vy = 0;
  Ball.attached = false;
  Ball.onGround = false;
  Ball.anchorX = 0;
  Ball.anchorY = 0;
  Ball.tetherLength = 0;
  Ball.gravity = GravityDown;
  AimPoint.mouseNX = 0;
  AimPoint.mouseNY = 0;
  TrailTimer = 0;
}

// The aim and camera on the ball, the full timer.
static void PlaceRunStart()
{
  AimPoint.aimX = Ball.x;
  AimPoint.aimY = Ball.y;
  Camera.camX = Ball.x;
  Camera.camY = Ball.y;
  Camera.viewHeight = ViewHeightAtStart;
  Camera.leads = true;   // a replay of the older camera's runs clears it as it begins
  Camera.leadX = Camera.leadY = 0;
  LevelTimer = LevelTimeAtStart;
}

// The frames a run of the level just scanned can last, for the room its
// ghost and its replay take.
static int RunFrames()
{
  int pickups = 0;
  for (int i = 0; i < ItemCount; i++)
    pickups += ItemTable[i].type == itemtype_extratime;
  return GhostFramesFor(pickups);
}

void StartLevel(int n)
{
  ResetRun();
  LoadLevel(n);
  NotePlayedLevel(LevelTitles[n - 1]);
  PlaceRunStart();
  CurrentLevel = n;
  int frames = RunFrames();
  BeginGhostRun(n, frames);
  BeginReplayRecording(frames);
  BeginHints(n);
}

void StartGridLevel()
{
  StartGridLevelAt(-1, -1);
}

void StartGridLevelAt(int x, int y)
{
  ResetRun();
  ScanLevel();
  if (x >= 0 && y >= 0) {
    Ball.x = x + 0.5f;   // the cell's centre
    Ball.y = y + 0.5f;
  }
  PlaceRunStart();
  BeginGhostRun(0, 0);     // a run of no slot: no best ghost to race
  GhostRecording = false;  // and no path recorded
  BeginReplayRecording(RunFrames());
  BeginHints(0);
}
