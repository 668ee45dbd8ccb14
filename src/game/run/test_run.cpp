// The editor's level copied aside for a test run and put back after it.
#include "game/run/test_run.h"

#include <cstring>
#include <vector>

#include "game/base/screen.h"
#include "game/play/world.h"
#include "game/run/level_start.h"

bool TestRunActive;
bool TestRunFromHere;
static int StartX = -1, StartY = -1;   // the chosen cell, or -1 for the spawn

// The level's cells, column by column, SavedHeight to a column; play never
// touches a cell outside the level, so these are all that can change.
static std::vector<MapCell> SavedGrid;
static int SavedWidth, SavedHeight;
static CameraRecord SavedCamera;
static AimPointRecord SavedAim;

// One record into the copy (aside) or back out of it.
template <typename T> static void CopyOne(T* saved, T* live, bool aside)
{
  memcpy(aside ? saved : live, aside ? live : saved, sizeof(T));
}

// The editor's grid, size, camera and aim into the copy, or back. The copy
// is made the level's size as it is taken.
static void CopyEditorLevel(bool aside)
{
  CopyOne(&SavedWidth, &LevelWidth, aside);
  CopyOne(&SavedHeight, &LevelHeight, aside);
  CopyOne(&SavedCamera, &Camera, aside);
  CopyOne(&SavedAim, &AimPoint, aside);
  if (aside)
    SavedGrid.resize((size_t)SavedWidth * SavedHeight);
  for (int x = 0; x < SavedWidth; x++) {
    MapCell* live = MapGrid + x * MapSize;
    MapCell* saved = SavedGrid.data() + (size_t)x * SavedHeight;
    memcpy(aside ? saved : live, aside ? live : saved, SavedHeight);
  }
}

void BeginTestRun()
{
  BeginTestRunAt(-1, -1);
}

void BeginTestRunAt(int x, int y)
{
  StartX = x;
  StartY = y;
  BeginTestRunAgain();
}

void BeginTestRunAgain()
{
  CopyEditorLevel(true);
  StartGridLevelAt(StartX, StartY);
  TestRunFromHere = StartX >= 0;
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
