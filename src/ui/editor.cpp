// The level editor: keyboard panning, a brush of twelve map types, painting
// with the left button, and B to write the level back to its file.
#include "ui/editor.h"

#include <cmath>

#include "app/host.h"
#include "app/video.h"
#include "game/controls.h"
#include "game/level_files.h"
#include "game/sound_events.h"
#include "render/draw.h"
#include "ui/menus.h"
#include "ui/scene.h"

int EditorBrush;
bool EditorSaveFailed;

const char* const BrushLabels[MapTypeCount] = {
  "maptype_nothing",      "maptype_blocknormal", "maptype_blockharmful",
  "maptype_blocknoswing", "maptype_blockghost",  "maptype_gravitydown",
  "maptype_gravityleft",  "maptype_gravityup",   "maptype_gravityright",
  "maptype_playerspawn",  "maptype_extratime",   "maptype_finish"
};

static const float HalfPi = 1.570796325f;   // the game's own value of pi / 2

static const char* SaveHint = "Press B to save and go back";
static const char* SaveFailedHint = "Could not save the level - press B to try again";

static const float HintBarTop = 325;        // ScreenOrtho units; the brush bar is TopBarTop

// How each map type looks in the editor: a quad over its cell, a sprite of
// the given size centred on the cell, or nothing.
enum { look_none, look_cell, look_sprite };
struct CellLook {
  int kind;
  const AtlasRect* rect;
  float size;            // sprite width and height, world units
};
static const CellLook CellLooks[MapTypeCount] = {
  {look_none, nullptr, 0},
  {look_cell, &AtlasBlockNormal, 1},
  {look_cell, &AtlasBlockHarmful, 1},
  {look_cell, &AtlasBlockNoSwing, 1},
  {look_cell, &AtlasBlockGhost, 1},
  {look_cell, &AtlasGravityDown, 1},
  {look_cell, &AtlasGravityLeft, 1},
  {look_cell, &AtlasGravityUp, 1},
  {look_cell, &AtlasGravityRight, 1},
  {look_sprite, &AtlasBall, BallDrawSize},
  {look_sprite, &AtlasExtraTime, ExtraTimeDrawSize},
  {look_sprite, &AtlasFinish, FinishDrawSize}
};
// The finish, the largest sprite, reaches this many cells past its cell's edge.
static const float SpriteOverhang = (FinishDrawSize - 1) * 0.5f;

int WrapBrush(int brush)
{
  int r = brush % MapTypeCount;
  return r < 0 ? r + MapTypeCount : r;
}

const char* EditorHintText()
{
  return EditorSaveFailed ? SaveFailedHint : SaveHint;
}

static float ClampUnit(float v)
{
  if (!(v >= -1)) // NaN too
    return v != v ? 0 : -1;
  return v > 1 ? 1 : v;
}

// floor(v) as a cell index when it lies inside 0..limit - 1.
static bool CellIndex(float v, int limit, int* out)
{
  if (!(v >= 0 && v < (float)limit))
    return false;
  *out = (int)std::floor(v);
  return true;
}

static void PanAndAim(float timeScale)
{
  float h = Controls.steerX;
  float v = -Controls.steerY;
  float m = std::sqrt(h * h + v * v);
  if (m > 1)
    m = 1;
  float theta = std::atan2(h, v) - HalfPi;

  AimPoint.mouseNX = ClampUnit(Controls.aimX / ScreenWidth * 2 - 1);
  AimPoint.mouseNY = ClampUnit(Controls.aimY / ScreenHeight * 2 - 1);
  AimPoint.aimX = Camera.viewHeight * AimPoint.mouseNX * 0.5f * AspectRatio + Camera.camX;
  AimPoint.aimY = Camera.viewHeight * AimPoint.mouseNY * 0.5f + Camera.camY;

  Camera.camX += std::cos(theta) * m * EditorPanSpeed * timeScale;
  Camera.camY += std::sin(theta) * m * EditorPanSpeed * timeScale;
}

void EditorUpdate(float timeScale)
{
  PanAndAim(timeScale);

  int brush = EditorBrush;
  EditorBrush += (int)Controls.brushNext - (int)Controls.brushPrev;
  Camera.viewHeight = EditorViewHeight;
  EditorBrush = WrapBrush(EditorBrush);
  if (EditorBrush != WrapBrush(brush))
    PushSound(sound_brush);

  int cx, cy;
  if (Controls.tether &&
      CellIndex(AimPoint.aimX, LevelWidth, &cx) && CellIndex(AimPoint.aimY, LevelHeight, &cy)) {
    if (CellAt(cx, cy) != EditorBrush)
      PushSound(sound_paint);
    SetCell(cx, cy, EditorBrush);
  }

  // A failed save keeps the player here with the edits, so nothing is lost.
  if (Controls.menuBack) {
    EditorSaveFailed = !SaveLevel();
    PushSound(EditorSaveFailed ? sound_save_failed : sound_save);
    if (!EditorSaveFailed)
      GameState = gamestate_title;
  }
}

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

static void DrawCells(const ViewRect& v)
{
  int x0, x1, y0, y1;
  if (!EditorCellRange(v.left, v.right, LevelWidth, &x0, &x1) ||
      !EditorCellRange(v.top, v.bottom, LevelHeight, &y0, &y1))
    return;
  for (int x = x0; x <= x1; x++) {
    for (int y = y0; y <= y1; y++) {
      int type = CellAt(x, y);
      if (type < 0 || type >= MapTypeCount)
        continue;
      const CellLook& look = CellLooks[type];
      if (look.kind == look_cell)
        DrawRect(*look.rect, (float)x, (float)y, 1, 1);
      else if (look.kind == look_sprite)
        DrawQuad(*look.rect, x + 0.5f, y + 0.5f, look.size, look.size, 0);
    }
  }
}

void DrawEditor()
{
  WorldOrtho();
  DrawViewBackground();
  DrawCells(CameraView());
  DrawQuad(AtlasPointer, AimPoint.aimX, AimPoint.aimY, PointerDrawSize, PointerDrawSize, 0);

  ScreenOrtho();
  DrawBar(TopBarTop, BrushLabels[WrapBrush(EditorBrush)]);
  DrawBar(HintBarTop, EditorHintText());
}
