// The editor's level copied aside for a test run and put back after it.
#include "game/test_run.h"

#include <cstring>

#include "game/level_start.h"
#include "game/screen.h"
#include "game/world.h"

bool TestRunActive;

static int SavedGrid[MapSize * MapSize];
static int SavedWidth, SavedHeight;
static CameraRecord SavedCamera;
static AimPointRecord SavedAim;

// One record into the copy (aside) or back out of it.
template <typename T> static void CopyOne(T* saved, T* live, bool aside)
{
  memcpy(aside ? saved : live, aside ? live : saved, sizeof(T));
}

// The editor's grid, size, camera and aim into the copy, or back.
static void CopyEditorLevel(bool aside)
{
  CopyOne(&SavedGrid, &MapGrid, aside);
  CopyOne(&SavedWidth, &LevelWidth, aside);
  CopyOne(&SavedHeight, &LevelHeight, aside);
  CopyOne(&SavedCamera, &Camera, aside);
  CopyOne(&SavedAim, &AimPoint, aside);
}

void BeginTestRun()
{
  CopyEditorLevel(true);
  StartGridLevel();
  TestRunActive = true;
  RequestScreen(gamestate_playing);
}

void EndTestRun()
{
  CopyEditorLevel(false);
  ItemCount = 0;
  TestRunActive = false;
  RequestScreen(gamestate_editing);
}
