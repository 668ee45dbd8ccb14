// The editor's level copied aside for a test run and put back after it.
#include "game/test_run.h"

#include <cstring>

#include "game/screen.h"
#include "game/level_start.h"
#include "game/world.h"

bool TestRunActive;

static int SavedGrid[MapSize * MapSize];
static int SavedWidth, SavedHeight;
static CameraRecord SavedCamera;
static AimPointRecord SavedAim;

void BeginTestRun()
{
  memcpy(SavedGrid, MapGrid, sizeof(MapGrid));
  SavedWidth = LevelWidth;
  SavedHeight = LevelHeight;
  SavedCamera = Camera;
  SavedAim = AimPoint;
  StartGridLevel();
  TestRunActive = true;
  RequestScreen(gamestate_playing);
}

void EndTestRun()
{
  memcpy(MapGrid, SavedGrid, sizeof(MapGrid));
  LevelWidth = SavedWidth;
  LevelHeight = SavedHeight;
  Camera = SavedCamera;
  AimPoint = SavedAim;
  ItemCount = 0;
  TestRunActive = false;
  RequestScreen(gamestate_editing);
}
