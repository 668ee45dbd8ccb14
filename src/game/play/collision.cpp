// collision: circle against unit-square cells. The pushes move a circle out of
// one box; CollideSolid and TouchesHarmful run them over the cells around it.
#include "game/play/collision.h"

#include <cmath>

#include "game/play/world.h"

const float CellSize = 1.0f;   // world units along each side of a cell

float Distance(float ax, float ay, float bx, float by)
{
  float dx = ax - bx;
  float dy = ay - by;
  float squares = dx * dx + dy * dy;
  return sqrtf(squares);
}

// The circle's bounding square overlaps the box (strictly) and the centre is
// outside the box (edges count as inside).
static bool PushApplies(float X, float Y, float r, float bx, float bw, float by, float bh)
{
  float right = bx + bw;
  float bottom = by + bh;
  bool overlap = bx < X + r && X - r < right && by < Y + r && Y - r < bottom;
  bool inside = bx <= X && X <= right && by <= Y && Y <= bottom;
  return overlap && !inside;
}

void PushOutOfFace(float& X, float& Y, float r, float bx, float bw, float by, float bh)
{
  if (!PushApplies(X, Y, r, bx, bw, by, bh))
    return;
  float right = bx + bw;
  float bottom = by + bh;
  if (by < Y && Y < bottom)
    X = X < bx + bw / 2 ? bx - r : right + r;
  else if (bx < X && X < right)
    Y = Y < by + bh / 2 ? by - r : bottom + r;
}

void PushOutOfCorner(float& X, float& Y, float r, float bx, float bw, float by, float bh)
{
  if (!PushApplies(X, Y, r, bx, bw, by, bh))
    return;
  float cx = fminf(fmaxf(X, bx), bx + bw);
  float cy = fminf(fmaxf(Y, by), by + bh);
  float d = Distance(X, Y, cx, cy);
  if (!(d < r))
    return;
  float ux = (X - cx) / d;
  float uy = (Y - cy) / d;
  X = cx + r * ux;
  Y = cy + r * uy;
}

// The cells around the circle, clipped to the level: columns x0..x1-1 and
// rows y0..y1-1. False when the window is empty, also for non-finite input.
static bool CellWindow(float X, float Y, float r, int& x0, int& x1, int& y0, int& y1)
{
  float reach = floorf(r) + 1;
  float left = floorf(X) - reach;
  float right = floorf(X) + reach + 1;
  float top = floorf(Y) - reach;
  float bottom = floorf(Y) + reach + 1;
  if (!(left < (float)LevelWidth && right > 0 && top < (float)LevelHeight && bottom > 0))
    return false;
  x0 = left <= 0 ? 0 : (int)left;
  x1 = right >= (float)LevelWidth ? LevelWidth : (int)right;
  y0 = top <= 0 ? 0 : (int)top;
  y1 = bottom >= (float)LevelHeight ? LevelHeight : (int)bottom;
  return true;
}

// Face pushes, then corner pushes, against cells of type a or b in the window
// taken from the position on entry. False when no cell was visited.
static bool PushOutOfCells(float& X, float& Y, float r, int a, int b)
{
  int x0, x1, y0, y1;
  if (!CellWindow(X, Y, r, x0, x1, y0, y1))
    return false;
  for (int gx = x0; gx < x1; gx++) {
    for (int gy = y0; gy < y1; gy++) {
      int type = CellAt(gx, gy);
      if (type == a || type == b)
        PushOutOfFace(X, Y, r, (float)gx, CellSize, (float)gy, CellSize);
    }
  }
  for (int gx = x0; gx < x1; gx++) {
    for (int gy = y0; gy < y1; gy++) {
      int type = CellAt(gx, gy);
      if (type == a || type == b)
        PushOutOfCorner(X, Y, r, (float)gx, CellSize, (float)gy, CellSize);
    }
  }
  return true;
}

void CollideSolid(float& X, float& Y, float r)
{
  PushOutOfCells(X, Y, r, maptype_blocknormal, maptype_blocknoswing);
}

static bool IsSolid(int type)
{
  return type == maptype_blocknormal || type == maptype_blocknoswing;
}

// The solid cell whose box, edges included, holds the point: the centre of a
// circle the pushes no longer move. False for a point far outside the level.
static bool SolidCellAround(float X, float Y, int& gx, int& gy)
{
  if (!(X >= -1 && X <= (float)LevelWidth + 1 && Y >= -1 && Y <= (float)LevelHeight + 1))
    return false;
  int cx = (int)floorf(X), cy = (int)floorf(Y);
  for (gx = cx - 1; gx <= cx; gx++)
    for (gy = cy - 1; gy <= cy; gy++)
      if (IsSolid(CellAt(gx, gy)) && gx <= X && X <= gx + CellSize && gy <= Y && Y <= gy + CellSize)
        return true;
  return false;
}

// The faces of a cell, and the step to the cell beyond each.
enum { face_left, face_right, face_top, face_bottom, face_none };
static const int FaceStepX[] = {-1, 1, 0, 0};
static const int FaceStepY[] = {0, 0, -1, 1};
static_assert(sizeof FaceStepX / sizeof FaceStepX[0] == face_none, "a step for every face");
static_assert(sizeof FaceStepY / sizeof FaceStepY[0] == face_none, "a step for every face");

static bool FaceOpen(int gx, int gy, int face)
{
  return !IsSolid(CellAt(gx + FaceStepX[face], gy + FaceStepY[face]));
}

// The face of cell (gx, gy) nearest the point with no solid cell beyond it.
static int NearestOpenFace(float X, float Y, int gx, int gy)
{
  float gaps[] = {X - gx, gx + CellSize - X, Y - gy, gy + CellSize - Y};
  int best = face_none;
  for (int face = 0; face < face_none; face++)
    if (FaceOpen(gx, gy, face) && (best == face_none || gaps[face] < gaps[best]))
      best = face;
  return best;
}

// The face a move from (fromX, fromY) to the point inside cell (gx, gy) came
// in by: of the two slabs the move crossed into, the one crossed last.
static int EntryFace(float X, float Y, int gx, int gy, float fromX, float fromY)
{
  float left = (float)gx, right = left + CellSize, top = (float)gy, bottom = top + CellSize;
  float tx = fromX < left ? (left - fromX) / (X - fromX) : fromX > right ? (fromX - right) / (fromX - X) : -1;
  float ty = fromY < top ? (top - fromY) / (Y - fromY) : fromY > bottom ? (fromY - bottom) / (fromY - Y) : -1;
  if (tx < 0 && ty < 0)
    return face_none;
  if (tx >= ty)
    return fromX < left ? face_left : face_right;
  return fromY < top ? face_top : face_bottom;
}

void CollideSolidFrom(float& X, float& Y, float r, float fromX, float fromY)
{
  CollideSolid(X, Y, r);
  int gx, gy;
  if (!SolidCellAround(X, Y, gx, gy))
    return;
  int face = EntryFace(X, Y, gx, gy, fromX, fromY);
  if (face == face_none || !FaceOpen(gx, gy, face))
    face = NearestOpenFace(X, Y, gx, gy);
  switch (face) {
  case face_left: X = gx - r; break;
  case face_right: X = gx + CellSize + r; break;
  case face_top: Y = gy - r; break;
  case face_bottom: Y = gy + CellSize + r; break;
  default: return;   // walled in on every side: nowhere to go
  }
  CollideSolid(X, Y, r);
}

bool TouchesHarmful(float X, float Y, float r)
{
  float x = X;
  float y = Y;
  if (!PushOutOfCells(x, y, r, maptype_blockharmful, maptype_blockharmful))
    return false;
  return x != X || y != Y;
}
