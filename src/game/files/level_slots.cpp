// level_slots: the list rows over the level numbers, and adding and removing levels.
#include "game/files/level_slots.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "game/base/places.h"
#include "game/files/assist_best.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"

static bool AnyLevelAboveShipped()
{
  for (int n = ShippedLevelCount + 1; n <= MaxLevels; n++)
    if (LevelExists[n - 1])
      return true;
  return false;
}

// Rows of the shipped numbers: up to the highest present; filling, and with
// nothing after them, never fewer than a window.
static int ShippedRows(bool fill)
{
  int least = fill && !AnyLevelAboveShipped() ? ListWindowRows : 0;
  for (int n = ShippedLevelCount; n > least; n--)
    if (LevelExists[n - 1])
      return n;
  return least;
}

int LevelRowCount(bool fill)
{
  int rows = ShippedRows(fill);
  for (int n = ShippedLevelCount + 1; n <= MaxLevels; n++)
    rows += LevelExists[n - 1];
  return rows;
}

int LevelOfRow(int row, bool fill)
{
  int shipped = ShippedRows(fill);
  if (row < 0)
    return 0;
  if (row < shipped)
    return row + 1;
  int left = row - shipped;
  for (int n = ShippedLevelCount + 1; n <= MaxLevels; n++)
    if (LevelExists[n - 1] && left-- == 0)
      return n;
  return 0;
}

int RowOfLevel(int n, bool fill)
{
  int shipped = ShippedRows(fill);
  if (n < 1 || n > MaxLevels)
    return -1;
  if (n <= ShippedLevelCount)
    return n <= shipped ? n - 1 : -1;
  if (!LevelExists[n - 1])
    return -1;
  int row = shipped;
  for (int k = ShippedLevelCount + 1; k < n; k++)
    row += LevelExists[k - 1];
  return row;
}

int FreeLevelSlot()
{
  for (int n = 1; n <= MaxLevels; n++)
    if (!LevelExists[n - 1])
      return n;
  return 0;
}

static bool IsRegularFile(const char* folder, int n)
{
  char name[32];
  PathBuffer path;
  struct stat st;
  snprintf(name, sizeof name, "level%i.dat", n);
  return PlacePath(path, folder, name) && stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

int LevelSlotKind(int n)
{
  if (n < 1 || n > MaxLevels)
    return slot_none;
  bool mine = IsRegularFile(Places.userLevels, n);
  if (strcmp(Places.userLevels, Places.shippedLevels) == 0)   // the repository and the page
    return !mine ? slot_none : n <= ShippedLevelCount ? slot_shipped : slot_own;
  bool shipped = IsRegularFile(Places.shippedLevels, n);
  if (mine)
    return shipped ? slot_changed : slot_own;
  return shipped ? slot_shipped : slot_none;
}

// No best score and no ghost for level n, on disk and in memory.
static void ForgetRuns(int n)
{
  PathBuffer path;
  SavedFileCount += ScoreFileName(path, n) && remove(path) == 0;
  SavedFileCount += GhostFileName(path, n) && remove(path) == 0;
  SavedFileCount += AssistScoreFileName(path, n) && remove(path) == 0;
  LevelBest[n - 1] = 0;
  LevelAssistBest[n - 1] = 0;
  LevelHasGhost[n - 1] = false;
  if (GhostLevel == n)
    GhostLevel = 0;   // the next run reads the (now missing) file again
}

int RemoveLevel(int n)
{
  int kind = LevelSlotKind(n);
  if (kind != slot_own && kind != slot_changed)
    return EPERM;
  PathBuffer path;
  if (!LevelFileName(path, n))
    return ENAMETOOLONG;
  if (remove(path) != 0)
    return errno;
  SavedFileCount++;
  if (kind == slot_own) {
    ForgetRuns(n);
    LevelTitles[n - 1][0] = 0;
  }
  ReadLevelTitle(n);   // the shipped version's title, or no level
  FindHighestLevel();
  return 0;
}

void NoteLevelSaved(int n)
{
  if (n < 1 || n > MaxLevels)
    return;
  if (!LevelExists[n - 1])
    ForgetRuns(n);
  LevelExists[n - 1] = true;
  if (HighestLevel < n)
    HighestLevel = n;
}
