// The editor's picture: the level's cells (one quad a cell, or at small
// zooms the cell picture, render/cell_picture), a faint grid over its empty
// cells while they are large enough, its outline, the cell under the marker
// (or the rectangle being dragged) outlined in the brush's colour, the
// selection or the paste brush, the aim marker, the brush bar with the
// brush's picture at its right end, the palette, the overview map and the hint bar.
#include "ui/editor.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "game/base/lang.h"
#include "game/base/screen.h"
#include "game/base/utf8.h"
#include "game/edit/edit_history.h"
#include "render/cell_picture.h"
#include "render/draw.h"
#include "ui/bars.h"
#include "ui/cell_look.h"
#include "ui/editor_help.h"
#include "ui/editor_save.h"
#include "ui/editor_select.h"
#include "ui/editor_view.h"
#include "ui/scene.h"

static const float HintBarTop = 325;        // ScreenOrtho units; the brush bar is TopBarTop
static const float BrushPictureX = 430;     // centre of the brush picture in the top bar
static const float BrushPictureSize = 34;
static const float BrushPictureRoom = 70;   // the top bar's text stays this far left of the bar's end
static const float TopTextRoom = MenuBarWidth - BrushPictureRoom;
static const float TopTextMinSize = 0.5f;   // a longer top bar text shrinks to this size, then is cut
// TRANSLATORS: before the level title being typed in the editor, with its space.
static const char* TitleFieldLabel = N_("Title: ");
static const char* TitleCursor = "_";
static const char* TitleCutMark = "...";
static const float GridColour[4] = {1, 1, 1, 0.12f};
static const float OutlineColour[4] = {1, 0.85f, 0.3f, 0.9f};
static const float PickColour[4] = {1, 1, 1, 0.9f};
static const int MaxGridLines = 512;        // more than any view at the editor's height shows
static const float MarkInset = 0.04f;       // the marked cell's second outline, inside the first (world units)

// The outline round the cell under the marker, by brush: the colour each cell type shows.
static const float BrushColours[MapTypeCount][4] = {
  {1, 1, 1, 0.9f},          // nothing: the eraser
  {0.62f, 0.78f, 0.95f, 1}, // normal block
  {1, 0.3f, 0.25f, 1},      // harmful block
  {0.75f, 0.75f, 0.75f, 1}, // no-swing block
  {0.75f, 0.6f, 1, 1},      // ghost block
  {0.35f, 1, 0.55f, 1},     // gravity down
  {0.35f, 1, 0.55f, 1},     // gravity left
  {0.35f, 1, 0.55f, 1},     // gravity up
  {0.35f, 1, 0.55f, 1},     // gravity right
  {1, 0.6f, 0.15f, 1},      // spawn: the ball
  {0.4f, 0.9f, 1, 1},       // extra time
  {1, 0.9f, 0.25f, 1},      // finish
};

// The finish, the largest sprite, reaches this many cells past its cell's edge.
static const float SpriteOverhang = (FinishDrawSize - 1) * 0.5f;

static float GridLines[MaxGridLines * 4];

bool EditorCellRange(float lo, float hi, int count, int* first, int* last)
{
  lo -= SpriteOverhang;
  hi += SpriteOverhang;
  if (!(lo < (float)count && hi >= 0))
    return false;
  *first = lo > 0 ? (int)std::floor(lo) : 0;
  *last = hi < (float)(count - 1) ? (int)std::floor(hi) : count - 1;
  return *first <= *last;
}

static void DrawCells(int x0, int x1, int y0, int y1)
{
  for (int x = x0; x <= x1; x++)
    for (int y = y0; y <= y1; y++) {
      int type = CellAt(x, y);
      if (type >= 0 && type < MapTypeCount)
        DrawCellLook(type, (float)x, (float)y, 1, false);
    }
}

// Grid lines over the visible part of the level, while cells are large enough, then its outline.
static void DrawGridAndOutline(const ViewRect& v)
{
  float w = (float)LevelWidth, h = (float)LevelHeight;
  const float outline[16] = {0, 0, w, 0, w, 0, w, h, w, h, 0, h, 0, h, 0, 0};
  if (EditorCellPixels() < GridBelowPixels) {
    DrawPlainLines(outline, 4, OutlineColour);
    return;
  }
  float left = v.left > 0 ? std::floor(v.left) : 0;
  float right = v.right < LevelWidth ? std::ceil(v.right) : (float)LevelWidth;
  float top = v.top > 0 ? std::floor(v.top) : 0;
  float bottom = v.bottom < LevelHeight ? std::ceil(v.bottom) : (float)LevelHeight;
  int n = 0;
  for (float x = left; x <= right && n < MaxGridLines; x++, n++) {
    float* p = GridLines + n * 4;
    p[0] = x; p[1] = top; p[2] = x; p[3] = bottom;
  }
  for (float y = top; y <= bottom && n < MaxGridLines; y++, n++) {
    float* p = GridLines + n * 4;
    p[0] = left; p[1] = y; p[2] = right; p[3] = y;
  }
  if (left < right && top < bottom)
    DrawPlainLines(GridLines, n, GridColour);
  DrawPlainLines(outline, 4, OutlineColour);
}

// The outline of cells x0..x1 by y0..y1 (world units), inset by inset.
static void CellsOutline(float* lines, float x0, float y0, float x1, float y1, float inset)
{
  x0 += inset; y0 += inset; x1 -= inset; y1 -= inset;
  const float ring[16] = {x0, y0, x1, y0, x1, y0, x1, y1, x1, y1, x0, y1, x0, y1, x0, y0};
  memcpy(lines, ring, sizeof ring);
}

// Two outlines, one inside the other, round the cell a click would paint or,
// while a rectangle is dragged, round the cells it would fill.
static void DrawMarkedCells()
{
  float x0 = std::floor(AimPoint.aimX), y0 = std::floor(AimPoint.aimY), x1 = x0 + 1, y1 = y0 + 1;
  int type = WrapBrush(EditorBrush);
  CellRect r;
  if (EditorDragRect(&r, &type)) {
    x0 = (float)r.left, y0 = (float)r.top, x1 = (float)r.right + 1, y1 = (float)r.bottom + 1;
  } else if (!(x0 >= 0 && y0 >= 0 && x0 < LevelWidth && y0 < LevelHeight)) {
    return;
  }
  float lines[32];
  CellsOutline(lines, x0, y0, x1, y1, 0);
  CellsOutline(lines + 16, x0, y0, x1, y1, MarkInset);
  DrawPlainLines(lines, 8, BrushColours[WrapBrush(type)]);
}

static void DrawPalette()
{
  float top = PaletteTopInWindow();
  DrawPanel(AtlasPanelNormal, PaletteLeft, top, -2 * PaletteLeft, PaletteCell);
  for (int i = 0; i < MapTypeCount; i++)
    DrawCellLook(i, PaletteLeft + i * (PaletteCell + PaletteGap), top, PaletteCell, true);
  float x = PaletteLeft + EditorBrush * (PaletteCell + PaletteGap) - 3;
  float y = top - 3, s = PaletteCell + 6;
  const float ring[16] = {x, y, x + s, y, x + s, y, x + s, y + s, x + s, y + s, x, y + s, x, y + s, x, y};
  DrawPlainLines(ring, 4, PickColour);
}

// The top bar's text, kept clear of the brush picture: the brush, the size
// and the title, shrunk to fit and, when even that is not enough, cut with
// "..."; while the title is edited only the title field, its end and the
// cursor always in sight.
static void TopBarText(char* text, size_t size)
{
  if (!EditorTitleEditing) {
    snprintf(text, size, "%s  %d x %d  %s", BrushLabels[WrapBrush(EditorBrush)], LevelWidth, LevelHeight,
             EditTitle);
    FitTextToWidth(text, TopTextRoom, TopTextMinSize);
    return;
  }
  int fits = (int)(TopTextRoom / (TopTextMinSize * TextWidthFactor * TextAdvanceFactor));
  int length = Utf8Length(EditTitle);
  int shown = fits - Utf8Length(Tr(TitleFieldLabel)) - Utf8Length(TitleCursor);
  int hidden = length - (shown - Utf8Length(TitleCutMark));
  if (length <= shown)
    snprintf(text, size, "%s%s%s", Tr(TitleFieldLabel), EditTitle, TitleCursor);
  else
    snprintf(text, size, "%s%s%s%s", Tr(TitleFieldLabel), TitleCutMark,
             EditTitle + Utf8PrefixBytes(EditTitle, hidden), TitleCursor);
}

void DrawEditor()
{
  WorldOrtho();
  DrawViewBackground();
  ViewRect v = CameraView();
  int x0, x1, y0, y1;
  RefreshCellPicture();   // the overview shows it at any zoom
  if (EditorDrawsPicture())
    DrawCellPicture(0, 0, (float)LevelWidth, (float)LevelHeight, 1);
  else if (EditorCellRange(v.left, v.right, LevelWidth, &x0, &x1) &&
           EditorCellRange(v.top, v.bottom, LevelHeight, &y0, &y1))
    DrawCells(x0, x1, y0, y1);
  DrawGridAndOutline(v);
  if (!SelectHasMouse())
    DrawMarkedCells();
  DrawSelect();
  DrawQuad(AtlasPointer, AimPoint.aimX, AimPoint.aimY, PointerDrawSize, PointerDrawSize, 0);

  ScreenOrtho();
  static char top[TitleSlotSize + 64];
  TopBarText(top, sizeof top);
  DrawBar(TopBarTop, top, TopTextRoom);
  DrawCellLook(WrapBrush(EditorBrush), BrushPictureX - BrushPictureSize * 0.5f,
           BarTopInWindow(TopBarTop) + MenuBarHeight * 0.5f - BrushPictureSize * 0.5f, BrushPictureSize, true);
  DrawPalette();
  DrawOverview();
  DrawBar(HintBarTop, EditorHintText());
  DrawEditorHelp();
}
