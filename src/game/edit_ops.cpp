// Strokes, fills, resizing and the new-level template on MapGrid.
#include "game/edit_ops.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/edit_history.h"
#include "game/world.h"

static int FillStack[MapSize * MapSize]; // cells waiting to spread; each is pushed once
static const int FillMark = MapTypeCount; // a cell of the region found, for a moment

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

// The region is marked first and changed afterwards in MapGrid order, so the
// history keeps it as stretches of neighbouring cells, not one word a cell.
void FloodFill(int x, int y, int type)
{
  if (!Inside(x, y))
    return;
  int from = MapGrid[x * MapSize + y];
  if (from == type)
    return;
  CellRect box = {x, y, x, y};
  int top = 0;
  MapGrid[x * MapSize + y] = FillMark;
  FillStack[top++] = x * MapSize + y;
  static const int StepX[4] = {1, -1, 0, 0}, StepY[4] = {0, 0, 1, -1};
  while (top > 0) {
    int index = FillStack[--top];
    int cx = index / MapSize, cy = index % MapSize;
    for (int d = 0; d < 4; d++) {
      int nx = cx + StepX[d], ny = cy + StepY[d];
      if (Inside(nx, ny) && MapGrid[nx * MapSize + ny] == from) {
        MapGrid[nx * MapSize + ny] = FillMark;
        FillStack[top++] = nx * MapSize + ny;
        box.left = nx < box.left ? nx : box.left;
        box.right = nx > box.right ? nx : box.right;
        box.top = ny < box.top ? ny : box.top;
        box.bottom = ny > box.bottom ? ny : box.bottom;
      }
    }
  }
  for (int cx = box.left; cx <= box.right; cx++)
    for (int cy = box.top; cy <= box.bottom; cy++)
      if (MapGrid[cx * MapSize + cy] == FillMark) {
        MapGrid[cx * MapSize + cy] = from;
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
  snprintf(EditTitle, sizeof(EditTitle), "Level %d", n);
  HistoryClear();
}
