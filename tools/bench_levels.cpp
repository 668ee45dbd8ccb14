// bench_levels: the benchmark's generated levels and the throw-away working
// directory it runs in.
#include "bench_levels.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "game/base/places.h"
#include "game/files/level_files.h"
#include "game/play/world.h"

const LevelPlan LevelPlans[level_count + 1] = {
  {0, 0, false, ""},
  {20, 15, true, "20 x 15 dense"},
  {20, 15, false, "20 x 15 sparse"},
  {200, 200, true, "200 x 200 dense"},
  {200, 200, false, "200 x 200 sparse"},
  {MaxLevelWidth, MaxLevelHeight, true, "998 x 1000 dense"},
  {MaxLevelWidth, MaxLevelHeight, false, "998 x 1000 sparse"},
};


const int DensePickupSpacing = 7;       // one extra-time cell in 7 x 7 cells
const int SparseBlockSpacing = 13;      // one block in 13 x 13 cells
const int RoomHalfWidth = 4;            // the open room around the spawn, cells
const int RoomHalfHeight = 3;
const int CeilingRise = 3;              // cells from the spawn up to the ceiling the tether grips

// Every cell a block or gravity type. Around the spawn in the middle a room
// walled with normal blocks holds only downward gravity cells, which the ball
// and the tether pass through, so the view is covered with cells everywhere
// on every level size. Pickups in a lattice, one finish far out of reach.
static void FillDense(int w, int h, int sx, int sy)
{
  for (int x = 0; x < w; x++)
    for (int y = 0; y < h; y++) {
      int type = 1 + (x + 3 * y) % DenseBlockTypes;
      if (x % DensePickupSpacing == 3 && y % DensePickupSpacing == 3)
        type = maptype_extratime;
      SetCell(x, y, type);
    }
  for (int x = sx - RoomHalfWidth; x <= sx + RoomHalfWidth; x++)
    for (int y = sy - RoomHalfHeight; y <= sy + RoomHalfHeight; y++) {
      bool wall = x == sx - RoomHalfWidth || x == sx + RoomHalfWidth ||
                  y == sy - RoomHalfHeight || y == sy + RoomHalfHeight;
      SetCell(x, y, wall ? maptype_blocknormal : maptype_gravitydown);
    }
  SetCell(w - 1, h - 1, maptype_finish);
}

// Normal-block walls around the edge, a few scattered blocks, a ceiling block
// above the spawn for the tether and one finish in the far corner.
static void FillSparse(int w, int h, int sx, int sy)
{
  for (int x = 0; x < w; x++)
    for (int y = 0; y < h; y++) {
      bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
      bool scattered = x % SparseBlockSpacing == 6 && y % SparseBlockSpacing == 6;
      SetCell(x, y, edge || scattered ? maptype_blocknormal : maptype_nothing);
    }
  for (int x = sx - 1; x <= sx + 1; x++)
    SetCell(x, sy - CeilingRise, maptype_blocknormal);
  SetCell(sx, sy, maptype_nothing);
  SetCell(w - 2, h - 2, maptype_finish);
}

static bool WriteLevels()
{
  if (mkdir("Levels", 0755) != 0)
    return false;
  for (int n = 1; n <= level_count; n++) {
    const LevelPlan& p = LevelPlans[n];
    memset(MapGrid, 0, sizeof(MapGrid));
    LevelWidth = p.width;
    LevelHeight = p.height;
    int sx = p.width / 2, sy = p.height / 2;
    if (p.dense)
      FillDense(p.width, p.height, sx, sy);
    else
      FillSparse(p.width, p.height, sx, sy);
    SetCell(sx, sy, maptype_playerspawn);
    PathBuffer path;
    char title[64];
    snprintf(title, sizeof(title), "Bench %s\n", p.name);
    if (!LevelFileName(path, n) || !WriteLevelFile(path, title))
      return false;
  }
  return true;
}

static char WorkDir[] = "/tmp/tetherorb2-bench-XXXXXX";

bool MakeWorkDir(const char* repo)
{
  PathBuffer media;
  if (!mkdtemp(WorkDir) || chdir(WorkDir) != 0)
    return false;
  if (!PlacePath(media, repo, "Media") || symlink(media, "Media") != 0)
    return false;
  FILE* f = fopen("settings.ini", "w");
  if (!f)
    return false;
  fprintf(f, "screenw = 800\nscreenh = 600\nscreenbpp = 0\nfullscreen = 0\n"
             "showcursor = 0\nantialiasing = 0\nmipmapping = 1\n");
  fclose(f);
  return WriteLevels();
}

// Removes what MakeWorkDir and a run can leave in the working directory.
void RemoveWorkDir()
{
  PathBuffer path;
  for (int n = 1; n <= level_count; n++) {
    if (LevelFileName(path, n))
      unlink(path);
    if (ScoreFileName(path, n))
      unlink(path);
  }
  rmdir("Levels");
  unlink("Media");
  unlink("settings.ini");
  if (chdir("/") == 0)
    rmdir(WorkDir);
}
