// The level picture: one colour a cell kind, a rim and a mark when a cell
// has pixels enough for them.
#include "game/files/level_picture.h"

#include "game/play/world.h"

#include <cstddef>

struct PictureColour {
  unsigned char r, g, b;
};

// Each MapType's fill and, for cells of several pixels, its rim or mark.
static const PictureColour CellFill[] = {
  {22, 30, 60},     // nothing: the night background
  {68, 112, 142},   // normal block
  {130, 20, 22},    // harmful block
  {172, 184, 200},  // no-swing block
  {52, 64, 100},    // ghost block, pale over the background
  {88, 64, 160},    // gravity down
  {88, 64, 160},    // gravity left
  {88, 64, 160},    // gravity up
  {88, 64, 160},    // gravity right
  {242, 112, 28},   // spawn: the ball
  {70, 225, 170},   // extra time
  {40, 190, 90},    // finish
};
static const PictureColour CellMark[] = {
  {22, 30, 60},     {20, 34, 52},    {40, 10, 8},      {70, 80, 96},    {190, 210, 255},  {200, 180, 255},
  {200, 180, 255},  {200, 180, 255}, {200, 180, 255},  {120, 34, 12},   {20, 90, 80},     {240, 250, 245},
};
static_assert(sizeof CellFill / sizeof CellFill[0] == MapTypeCount, "one entry per MapType");
static_assert(sizeof CellMark / sizeof CellMark[0] == MapTypeCount, "one entry per MapType");

const int RimLeast = 4;     // pixels a cell needs for its rim
const int ArrowLeast = 5;   // pixels a gravity cell needs for its arrow

int PictureCellPixels(int w, int h)
{
  int longest = w > h ? w : h;
  if (longest <= 0 || longest > PictureLongSide)
    return 0;
  return PictureLongSide / longest;
}

static void Put(LevelPicture* out, int x, int y, PictureColour c)
{
  unsigned char* p = &out->rgba[((size_t)y * out->w + x) * 4];
  p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = 255;
}

static int TypeOf(unsigned char cell)
{
  return cell < MapTypeCount ? cell : (int)maptype_nothing;
}

static bool IsRound(int type)
{
  return type == maptype_playerspawn || type == maptype_extratime || type == maptype_finish;
}

// Whether pixel (x, y) of a cell of n pixels shows the kind's mark: a rim
// for blocks, an arrow for gravity, a ring for the round items.
static bool OnMark(int type, int x, int y, int n)
{
  int last = n - 1;
  if (type >= maptype_gravitydown && type <= maptype_gravityright) {
    if (n < ArrowLeast)
      return false;
    // A triangle pointing along +v, v running the way gravity pulls.
    int u = x, v = y;
    if (type == maptype_gravityleft)
      u = y, v = last - x;
    else if (type == maptype_gravityup)
      v = last - y;
    else if (type == maptype_gravityright)
      u = y, v = x;
    int from = n / 4, to = last - n / 4, across2 = 2 * u - last;   // doubled, so odd sizes stay exact
    if (across2 < 0)
      across2 = -across2;
    return v >= from && v <= to && across2 <= 2 * (to - v);
  }
  if (n < RimLeast || type == maptype_nothing)
    return false;
  if (IsRound(type)) {
    int dx2 = 2 * x - last, dy2 = 2 * y - last, r2 = n * n;
    int d = dx2 * dx2 + dy2 * dy2;
    return d > r2 * 9 / 25 && d <= r2;   // a ring from 0.6 to 1 of the radius
  }
  return x == 0 || y == 0 || x == last || y == last;
}

static bool InsideRound(int x, int y, int n)
{
  int last = n - 1, dx2 = 2 * x - last, dy2 = 2 * y - last;
  return dx2 * dx2 + dy2 * dy2 <= n * n;
}

static void DrawCell(LevelPicture* out, int cx, int cy, int n, int type)
{
  for (int y = 0; y < n; y++)
    for (int x = 0; x < n; x++) {
      PictureColour c = CellFill[type];
      if (IsRound(type) && n >= RimLeast && !InsideRound(x, y, n))
        c = CellFill[maptype_nothing];
      else if (OnMark(type, x, y, n))
        c = CellMark[type];
      Put(out, cx * n + x, cy * n + y, c);
    }
}

void DrawLevelPicture(const unsigned char* cells, int w, int h, LevelPicture* out)
{
  int n = PictureCellPixels(w, h);
  int longest = w > h ? w : h;
  out->w = n ? w * n : w * PictureLongSide / longest;
  out->h = n ? h * n : h * PictureLongSide / longest;
  if (out->w < 1)
    out->w = 1;
  if (out->h < 1)
    out->h = 1;
  out->rgba.assign((size_t)out->w * out->h * 4, 0);
  if (n) {
    for (int y = 0; y < h; y++)
      for (int x = 0; x < w; x++)
        DrawCell(out, x, y, n, TypeOf(cells[(size_t)y * w + x]));
    return;
  }
  for (int py = 0; py < out->h; py++)
    for (int px = 0; px < out->w; px++) {
      Put(out, px, py, CellFill[TypeOf(cells[(size_t)(py * h / out->h) * w + px * w / out->w])]);
    }
  // The items over what hid them, the spawn last.
  static const int Items[] = {maptype_extratime, maptype_finish, maptype_playerspawn};
  for (int item : Items)
    for (int y = 0; y < h; y++)
      for (int x = 0; x < w; x++)
        if (cells[(size_t)y * w + x] == item)
          Put(out, x * out->w / w, y * out->h / h, CellFill[item]);
}
