// The level's cells as a texture: the colours, the change search and the upload.
#include "render/cell_picture.h"

#include <GL/gl.h>
#include <cstring>

#include "game/edit/edit_history.h"
#include "game/play/world.h"
#include "render/atlas.h"

long CellPictureSent;

// A power of two that holds MapSize along each side; texel (s, t) is cell (x = t, y = s),
// so one column of MapGrid is one row of the texture.
static const int PictureSide = 1024;
static_assert(PictureSide >= MapSize, "the picture holds every cell");
static const int TexelBytes = 4;

// Each map type's texel: the colour it shows in the editor; empty cells let the background through.
static const unsigned char TypeColours[MapTypeCount][TexelBytes] = {
  {0, 0, 0, 0},         // nothing
  {158, 199, 242, 255}, // normal block
  {255, 77, 64, 255},   // harmful block
  {191, 191, 191, 255}, // no-swing block
  {191, 153, 255, 200}, // ghost block
  {89, 255, 140, 255},  // gravity down
  {70, 220, 200, 255},  // gravity left
  {40, 200, 110, 255},  // gravity up
  {130, 255, 90, 255},  // gravity right
  {255, 153, 38, 255},  // spawn
  {102, 230, 255, 255}, // extra time
  {255, 230, 64, 255},  // finish
};
static_assert(sizeof TypeColours / sizeof TypeColours[0] == MapTypeCount, "one colour per MapTypeCount");

static unsigned Texture;
static MapCell Sent[MapSize * MapSize];                           // the cells the texture shows
static unsigned char Upload[PictureSide * PictureSide * TexelBytes]; // texels on their way; zeros at first
static long SeenChanges = -1, SeenVersion = -1;
static int SeenWidth = -1, SeenHeight = -1;

// A new texture of empty texels; the copy of what it shows emptied to match.
static void MakeTexture()
{
  glGenTextures(1, &Texture);
  glBindTexture(GL_TEXTURE_2D, Texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  memset(Upload, 0, sizeof Upload);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, PictureSide, PictureSide, 0, GL_RGBA, GL_UNSIGNED_BYTE, Upload);
  memset(Sent, 0, sizeof Sent);
  glBindTexture(GL_TEXTURE_2D, AtlasTexture);
}

// The first and last row where the two columns differ; false when they are the same.
static bool ColumnChange(const MapCell* a, const MapCell* b, int n, int* first, int* last)
{
  if (memcmp(a, b, (size_t)n) == 0)
    return false;
  int lo = 0, hi = n - 1;
  while (a[lo] == b[lo])
    lo++;
  while (a[hi] == b[hi])
    hi--;
  *first = lo;
  *last = hi;
  return true;
}

// Columns x0..x1, rows y0..y1 of the level into the texture and into Sent.
static void Send(int x0, int x1, int y0, int y1)
{
  int rows = y1 - y0 + 1;
  for (int x = x0; x <= x1; x++) {
    const MapCell* column = MapGrid + x * MapSize + y0;
    unsigned char* out = Upload + (size_t)(x - x0) * rows * TexelBytes;
    for (int y = 0; y < rows; y++) {
      int type = column[y] < MapTypeCount ? column[y] : 0;
      memcpy(out + y * TexelBytes, TypeColours[type], TexelBytes);
    }
    memcpy(Sent + x * MapSize + y0, column, (size_t)rows);
  }
  glBindTexture(GL_TEXTURE_2D, Texture);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexSubImage2D(GL_TEXTURE_2D, 0, y0, x0, rows, x1 - x0 + 1, GL_RGBA, GL_UNSIGNED_BYTE, Upload);
  glBindTexture(GL_TEXTURE_2D, AtlasTexture);
  CellPictureSent += (long)rows * (x1 - x0 + 1);
}

void RefreshCellPicture()
{
  if (!Texture || !glIsTexture(Texture)) {
    MakeTexture();
    SeenChanges = -1;
  }
  bool same = SeenChanges == HistoryChangeCount && SeenVersion == HistoryVersion() &&
              SeenWidth == LevelWidth && SeenHeight == LevelHeight;
  if (same)
    return;
  SeenChanges = HistoryChangeCount;
  SeenVersion = HistoryVersion();
  SeenWidth = LevelWidth;
  SeenHeight = LevelHeight;
  int x0 = MapSize, x1 = -1, y0 = MapSize, y1 = -1;
  for (int x = 0; x < LevelWidth; x++) {
    int first, last;
    if (!ColumnChange(MapGrid + x * MapSize, Sent + x * MapSize, LevelHeight, &first, &last))
      continue;
    x0 = x < x0 ? x : x0;
    x1 = x;
    y0 = first < y0 ? first : y0;
    y1 = last > y1 ? last : y1;
  }
  if (x1 >= 0)
    Send(x0, x1, y0, y1);
}

void DrawCellPicture(float x, float y, float w, float h, float alpha)
{
  if (!Texture || LevelWidth < 1 || LevelHeight < 1)
    return;
  float s = (float)LevelHeight / PictureSide, t = (float)LevelWidth / PictureSide;
  // Corners (left, bottom), (right, bottom), (right, top), (left, top); s runs down the level, t across.
  const float v[8] = {x, y + h, x + w, y + h, x + w, y, x, y};
  const float st[8] = {s, 0, s, t, 0, t, 0, 0};
  glColor4f(1, 1, 1, alpha);
  glBindTexture(GL_TEXTURE_2D, Texture);
  glVertexPointer(2, GL_FLOAT, 0, v);
  glTexCoordPointer(2, GL_FLOAT, 0, st);
  glDrawArrays(GL_QUADS, 0, 4);
  glBindTexture(GL_TEXTURE_2D, AtlasTexture);
  glColor4f(1, 1, 1, 1);
}
