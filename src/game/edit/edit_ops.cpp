// Strokes, fills, resizing and the new-level template on MapGrid.
#include "game/edit/edit_ops.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "game/base/lang.h"
#include "game/edit/edit_history.h"
#include "game/play/world.h"

// Seeds of runs waiting to spread, as MapGrid indexes; each cell is pushed
// once at most, so it never holds more than the level's cells. It grows with
// the fills made and is kept for the next.
static std::vector<int> FillStack;
static const MapCell FillMark = MapTypeCount; // a cell of the region found, for a moment

static bool Inside(int x, int y)
{
  return x >= 0 && y >= 0 && x < LevelWidth && y < LevelHeight;
}

void PaintLine(int x0, int y0, int x1, int y1, int type)
{
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    if (Inside(x0, y0))
      HistorySet(x0, y0, type);
    if (x0 == x1 && y0 == y1)
      return;
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

static int Clamp(int v, int lo, int hi)
{
  return v < lo ? lo : v > hi ? hi : v;
}

bool ClipRect(int x0, int y0, int x1, int y1, CellRect* r)
{
  if (LevelWidth < 1 || LevelHeight < 1)
    return false;
  if ((x0 < 0 && x1 < 0) || (y0 < 0 && y1 < 0) || (x0 >= LevelWidth && x1 >= LevelWidth) ||
      (y0 >= LevelHeight && y1 >= LevelHeight))
    return false;
  r->left = Clamp(x0 < x1 ? x0 : x1, 0, LevelWidth - 1);
  r->right = Clamp(x0 < x1 ? x1 : x0, 0, LevelWidth - 1);
  r->top = Clamp(y0 < y1 ? y0 : y1, 0, LevelHeight - 1);
  r->bottom = Clamp(y0 < y1 ? y1 : y0, 0, LevelHeight - 1);
  return true;
}

void FillRect(int x0, int y0, int x1, int y1, int type)
{
  CellRect r;
  if (!ClipRect(x0, y0, x1, y1, &r))
    return;
  for (int x = r.left; x <= r.right; x++)
    for (int y = r.top; y <= r.bottom; y++)
      HistorySet(x, y, type);
}

// Marks the run of from cells through seed (x, y) in its column, which is
// marked already, and returns its first and last row.
static void MarkSpan(int x, int y, int from, int* first, int* last)
{
  MapCell* column = MapGrid + x * MapSize;
  int y0 = y, y1 = y;
  while (y0 > 0 && column[y0 - 1] == from)
    column[--y0] = FillMark;
  while (y1 < LevelHeight - 1 && column[y1 + 1] == from)
    column[++y1] = FillMark;
  *first = y0;
  *last = y1;
}

// The region is marked first, a column's run at a time (each seed is marked
// as it is pushed, so none is pushed twice), and changed afterwards in
// MapGrid order, so the history keeps it as stretches of neighbouring cells.
void FloodFill(int x, int y, int type)
{
  if (!Inside(x, y))
    return;
  int from = MapGrid[x * MapSize + y];
  if (from == type)
    return;
  CellRect box = {x, y, x, y};
  FillStack.clear();
  MapGrid[x * MapSize + y] = FillMark;
  FillStack.push_back(x * MapSize + y);
  while (!FillStack.empty()) {
    int index = FillStack.back();
    FillStack.pop_back();
    int cx = index / MapSize, y0, y1;
    MarkSpan(cx, index % MapSize, from, &y0, &y1);
    box.left = cx < box.left ? cx : box.left;
    box.right = cx > box.right ? cx : box.right;
    box.top = y0 < box.top ? y0 : box.top;
    box.bottom = y1 > box.bottom ? y1 : box.bottom;
    for (int nx = cx - 1; nx <= cx + 1; nx += 2) {
      MapCell* column = MapGrid + nx * MapSize;
      bool inRun = false;   // the cell above was from: its run has a seed already
      for (int ny = y0; ny <= y1 && nx >= 0 && nx < LevelWidth; ny++) {
        bool open = column[ny] == from;
        if (open && !inRun) {
          column[ny] = FillMark;
          FillStack.push_back(nx * MapSize + ny);
        }
        inRun = open;
      }
    }
  }
  for (int cx = box.left; cx <= box.right; cx++)
    for (int cy = box.top; cy <= box.bottom; cy++)
      if (MapGrid[cx * MapSize + cy] == FillMark) {
        MapGrid[cx * MapSize + cy] = (MapCell)from;
        HistorySet(cx, cy, type);
      }
}

void ResizeLevel(int width, int height)
{
  width = Clamp(width, 1, MaxLevelWidth);
  height = Clamp(height, 1, MaxLevelHeight);
  int spanX = width > LevelWidth ? width : LevelWidth;
  int spanY = height > LevelHeight ? height : LevelHeight;
  for (int x = 0; x < spanX; x++)
    for (int y = 0; y < spanY; y++)
      if (x >= width || y >= height || x >= LevelWidth || y >= LevelHeight)
        HistorySet(x, y, maptype_nothing);
  LevelWidth = width;
  LevelHeight = height;
}

void MakeNewLevel(int n)
{
  memset(MapGrid, 0, sizeof(MapGrid));
  LevelWidth = NewLevelWidth;
  LevelHeight = NewLevelHeight;
  for (int x = 0; x < LevelWidth; x++)
    for (int y = 0; y < LevelHeight; y++)
      if (x == 0 || y == 0 || x == LevelWidth - 1 || y == LevelHeight - 1)
        MapGrid[x * MapSize + y] = maptype_blocknormal;
  MapGrid[3 * MapSize + LevelHeight - 3] = maptype_playerspawn;
  MapGrid[(LevelWidth - 4) * MapSize + LevelHeight - 3] = maptype_finish;
  snprintf(EditTitle, sizeof(EditTitle), Tr("Level %d"), n);
  HistoryClear();
}
