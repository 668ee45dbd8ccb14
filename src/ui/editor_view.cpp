// The editor's zoom, the whole-level view and the overview map.
#include "ui/editor_view.h"

#include <cmath>

#include "game/base/controls.h"
#include "game/base/screen.h"
#include "game/play/world.h"
#include "render/atlas.h"
#include "render/cell_picture.h"
#include "render/draw.h"
#include "ui/bars.h"
#include "ui/editor_layout.h"
#include "ui/scene.h"

float EditorZoomHeight = EditorViewHeight;

static bool OverviewHeld;   // the left button went down on the overview and is held

static const float OverviewFrame[4] = {1, 1, 1, 0.5f};
static const float OverviewViewColour[4] = {1, 0.85f, 0.3f, 1};
static const float OverviewShade = 0.8f;   // the background under the map, darkened

// The paint area's top and bottom in ScreenOrtho units.
static void PaintArea(float* top, float* bottom)
{
  *top = BarTopInWindow(PaintAreaTop);
  *bottom = BarTopInWindow(PaintAreaBottom);
}

float EditorWholeHeight()
{
  float top, bottom;
  PaintArea(&top, &bottom);
  float screen = 2 * ScreenOrthoHalfHeight();
  float share = (bottom - top) / screen;   // of the window's height the paint area has
  float tall = LevelHeight * EditorWholeMargin / share;
  float wide = AspectRatio > 0 ? LevelWidth * EditorWholeMargin / AspectRatio : tall;
  float h = tall > wide ? tall : wide;
  return h > EditorViewHeight ? h : EditorViewHeight;
}

void ResetEditorView()
{
  EditorZoomHeight = EditorViewHeight;
  OverviewHeld = false;
}

// The whole level in the paint area, its centre at the area's centre.
static void ShowWholeLevel()
{
  float top, bottom;
  PaintArea(&top, &bottom);
  EditorZoomHeight = EditorWholeHeight();
  float centre = (top + bottom) * 0.5f / (2 * ScreenOrthoHalfHeight());   // of the view's height below its middle
  Camera.camX = LevelWidth * 0.5f;
  Camera.camY = LevelHeight * 0.5f - centre * EditorZoomHeight;
}

// A new height with the world point under the pointer kept where it is.
static void ZoomTo(float height)
{
  float most = EditorWholeHeight();
  height = height < EditorViewHeight ? EditorViewHeight : height > most ? most : height;
  float nx = ScreenWidth > 0 ? Controls.aimX / ScreenWidth * 2 - 1 : 0;
  float ny = ScreenHeight > 0 ? Controls.aimY / ScreenHeight * 2 - 1 : 0;
  float ax = Camera.camX + EditorZoomHeight * nx * 0.5f * AspectRatio;
  float ay = Camera.camY + EditorZoomHeight * ny * 0.5f;
  float keep = height / EditorZoomHeight;
  Camera.camX = ax - (ax - Camera.camX) * keep;
  Camera.camY = ay - (ay - Camera.camY) * keep;
  EditorZoomHeight = height;
}

void EditorZoomKeys()
{
  if (!(EditorZoomHeight >= EditorViewHeight))   // NaN too
    EditorZoomHeight = EditorViewHeight;
  int steps = Controls.wheelSteps + (int)Controls.zoomOut - (int)Controls.zoomIn;
  if (Controls.listHome)
    ShowWholeLevel();
  else if (Controls.zoomCells)
    ZoomTo(EditorViewHeight);
  else if (steps != 0)
    ZoomTo(EditorZoomHeight * std::pow(EditorZoomStep, (float)steps));
  else if (EditorZoomHeight > EditorWholeHeight())   // the level shrank
    ZoomTo(EditorWholeHeight());
}

float EditorCellPixels()
{
  return ScreenHeight / EditorZoomHeight;
}

bool EditorDrawsPicture()
{
  return EditorCellPixels() < PictureBelowPixels;
}

// The overview's rectangle in ScreenOrtho units and its units per cell; false
// when the whole level is in the view and no overview shows.
static bool OverviewRect(float* x, float* y, float* w, float* h, float* scale)
{
  ViewRect v = CameraView();
  bool inView = v.left <= 0 && v.top <= 0 && v.right >= LevelWidth && v.bottom >= LevelHeight;
  if (inView || LevelWidth < 1 || LevelHeight < 1)
    return false;
  int longer = LevelWidth > LevelHeight ? LevelWidth : LevelHeight;
  *scale = OverviewRoom / (float)longer;
  *w = LevelWidth * *scale;
  *h = LevelHeight * *scale;
  *x = ScreenOrthoHalfHeight() * AspectRatio - OverviewMargin - *w;
  *y = BarTopInWindow(PaintAreaBottom) - OverviewMargin - *h;
  return true;
}

bool OverviewAt(float x, float y)
{
  float ox, oy, w, h, scale;
  return OverviewRect(&ox, &oy, &w, &h, &scale) && x >= ox && y >= oy && x < ox + w && y < oy + h;
}

bool OverviewMouse(float x, float y)
{
  if (!Controls.tether)
    OverviewHeld = false;
  else if (Controls.pointerClick && OverviewAt(x, y))
    OverviewHeld = true;
  float ox, oy, w, h, scale;
  if (!OverviewHeld || !OverviewRect(&ox, &oy, &w, &h, &scale))
    return OverviewHeld;
  float cx = (x - ox) / scale, cy = (y - oy) / scale;
  Camera.camX = cx < 0 ? 0 : cx > LevelWidth ? (float)LevelWidth : cx;
  Camera.camY = cy < 0 ? 0 : cy > LevelHeight ? (float)LevelHeight : cy;
  return true;
}

void DrawOverview()
{
  float x, y, w, h, scale;
  if (!OverviewRect(&x, &y, &w, &h, &scale))
    return;
  SetDrawTint(OverviewShade, OverviewShade, OverviewShade, 1);
  DrawRect(AtlasBackground, x, y, w, h);
  SetDrawTint(1, 1, 1, 1);
  DrawCellPicture(x, y, w, h, 1);
  ViewRect v = CameraView();
  float l = x + (v.left > 0 ? v.left : 0) * scale, r = x + (v.right < LevelWidth ? v.right : LevelWidth) * scale;
  float t = y + (v.top > 0 ? v.top : 0) * scale, b = y + (v.bottom < LevelHeight ? v.bottom : LevelHeight) * scale;
  const float frame[16] = {x, y, x + w, y, x + w, y, x + w, y + h, x + w, y + h, x, y + h, x, y + h, x, y};
  const float view[16] = {l, t, r, t, r, t, r, b, r, b, l, b, l, b, l, t};
  DrawPlainLines(frame, 4, OverviewFrame);
  if (l < r && t < b)
    DrawPlainLines(view, 4, OverviewViewColour);
}
