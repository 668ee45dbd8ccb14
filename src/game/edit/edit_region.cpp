// Copy, cut, empty, flip, quarter turn, move and paste of blocks of cells.
#include "game/edit/edit_region.h"

#include <cstring>

#include "game/edit/edit_history.h"

CellClip Clip;

// A block taken out of the level for a moment: read, turned, written back.
static MapCell Scratch[MapSize * MapSize];
static MapCell Turned[MapSize * MapSize];

static const int GravityFirst = maptype_gravitydown;   // down, left, up, right: clockwise on screen
static const int GravityCount = 4;

int TurnedType(int type, int turn)
{
  if (type < GravityFirst || type >= GravityFirst + GravityCount)
    return type;
  int dir = type - GravityFirst;   // GravityDir order
  if (turn == turn_flip_h && (dir == GravityLeft || dir == GravityRight))
    dir = dir == GravityLeft ? GravityRight : GravityLeft;
  else if (turn == turn_flip_v && (dir == GravityUp || dir == GravityDown))
    dir = dir == GravityUp ? GravityDown : GravityUp;
  else if (turn == turn_quarter)
    dir = (dir + 1) % GravityCount;
  return GravityFirst + dir;
}

static int Width(const CellRect& r)
{
  return r.right - r.left + 1;
}

static int Height(const CellRect& r)
{
  return r.bottom - r.top + 1;
}

// r's cells into out, column by column.
static void ReadBlock(const CellRect& r, MapCell* out)
{
  int h = Height(r);
  for (int x = r.left; x <= r.right; x++)
    memcpy(out + (size_t)(x - r.left) * h, MapGrid + x * MapSize + r.top, (size_t)h);
}

// The w x h block of cells written with its top-left at (left, top), through
// the open step; cells outside the level are skipped. Spawns beyond the
// first keepSpawns are left out: the cell under them stays as it is when
// keepSpawns is 0 (the level keeps its own), else it is emptied, so no
// spawn of the level under the block is left beside the one pasted.
static void WriteBlock(const MapCell* cells, int w, int h, int left, int top, int keepSpawns)
{
  bool levelKeeps = keepSpawns == 0;
  for (int x = 0; x < w; x++)
    for (int y = 0; y < h; y++) {
      int cx = left + x, cy = top + y;
      int type = cells[(size_t)x * h + y];
      if (cx < 0 || cy < 0 || cx >= LevelWidth || cy >= LevelHeight)
        continue;
      if (type == maptype_playerspawn && keepSpawns-- <= 0) {
        if (levelKeeps)
          continue;
        type = maptype_nothing;
      }
      HistorySet(cx, cy, type);
    }
}

// Sets the cells of r (inside the level) to type through the open step.
static void FillBlock(const CellRect& r, int type)
{
  for (int x = r.left; x <= r.right; x++)
    for (int y = r.top; y <= r.bottom; y++)
      HistorySet(x, y, type);
}

// Turns the w x h cells of in into out; *w and *h become out's size.
static void TurnCells(const MapCell* in, int* w, int* h, int turn, MapCell* out)
{
  int iw = *w, ih = *h;
  int ow = turn == turn_quarter ? ih : iw, oh = turn == turn_quarter ? iw : ih;
  for (int x = 0; x < iw; x++)
    for (int y = 0; y < ih; y++) {
      int tx = turn == turn_flip_h ? iw - 1 - x : turn == turn_quarter ? ih - 1 - y : x;
      int ty = turn == turn_flip_v ? ih - 1 - y : turn == turn_quarter ? x : y;
      out[(size_t)tx * oh + ty] = (MapCell)TurnedType(in[(size_t)x * ih + y], turn);
    }
  *w = ow;
  *h = oh;
}

void CopyRegion(const CellRect& r)
{
  Clip.width = Width(r);
  Clip.height = Height(r);
  ReadBlock(r, Clip.cells);
}

void EmptyRegion(const CellRect& r)
{
  HistoryBeginMixed();
  FillBlock(r, maptype_nothing);
  HistoryEnd();
}

void CutRegion(const CellRect& r)
{
  CopyRegion(r);
  EmptyRegion(r);
}

void TurnRegion(CellRect* r, int turn)
{
  int w = Width(*r), h = Height(*r);
  ReadBlock(*r, Scratch);
  TurnCells(Scratch, &w, &h, turn, Turned);
  HistoryBeginMixed();
  FillBlock(*r, maptype_nothing);
  WriteBlock(Turned, w, h, r->left, r->top, MapSize * MapSize);
  HistoryEnd();
  ClipRect(r->left, r->top, r->left + w - 1, r->top + h - 1, r);
}

void TurnClip(int turn)
{
  memcpy(Scratch, Clip.cells, (size_t)Clip.width * Clip.height);
  TurnCells(Scratch, &Clip.width, &Clip.height, turn, Clip.cells);
}

bool MoveRegion(CellRect* r, int dx, int dy)
{
  int w = Width(*r), h = Height(*r);
  ReadBlock(*r, Scratch);
  HistoryBeginMixed();
  FillBlock(*r, maptype_nothing);
  WriteBlock(Scratch, w, h, r->left + dx, r->top + dy, MapSize * MapSize);
  HistoryEnd();
  return ClipRect(r->left + dx, r->top + dy, r->right + dx, r->bottom + dy, r);
}

// Spawn cells of the level outside the w x h block at (left, top).
static int SpawnsOutside(int left, int top, int w, int h)
{
  int n = 0;
  for (int x = 0; x < LevelWidth; x++) {
    const MapCell* column = MapGrid + x * MapSize;
    bool across = x >= left && x < left + w;
    for (int y = 0; y < LevelHeight; y++)
      n += column[y] == maptype_playerspawn && !(across && y >= top && y < top + h);
  }
  return n;
}

// Spawns of the clip that land inside the level at (left, top).
static int ClipSpawnsInside(int left, int top)
{
  int n = 0;
  for (int x = 0; x < Clip.width; x++)
    for (int y = 0; y < Clip.height; y++) {
      int cx = left + x, cy = top + y;
      bool inside = cx >= 0 && cy >= 0 && cx < LevelWidth && cy < LevelHeight;
      n += inside && Clip.cells[(size_t)x * Clip.height + y] == maptype_playerspawn;
    }
  return n;
}

bool PasteDropsSpawn(int left, int top)
{
  int brought = ClipSpawnsInside(left, top);
  return brought > 1 || (brought == 1 && SpawnsOutside(left, top, Clip.width, Clip.height) > 0);
}

bool PasteClip(int left, int top)
{
  if (Clip.width < 1 || Clip.height < 1)
    return false;
  int keep = SpawnsOutside(left, top, Clip.width, Clip.height) > 0 ? 0 : 1;
  HistoryBeginMixed();
  WriteBlock(Clip.cells, Clip.width, Clip.height, left, top, keep);
  HistoryEnd();
  return true;
}
