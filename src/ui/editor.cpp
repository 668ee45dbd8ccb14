// The level editor: keyboard panning, a brush of twelve map types, painting
// with the left button, and B to write the level back to its file.
#include "ui/editor.h"

#include <cmath>
#include <cstring>

#include "app/host.h"
#include "app/input.h"
#include "app/video.h"
#include "game/level_files.h"
#include "render/draw.h"
#include "ui/menus.h"
#include "ui/scene.h"

int EditorBrush;
bool EditorSaveFailed;

const char* BrushLabels[MapTypeCount] = {
  "maptype_nothing",      "maptype_blocknormal", "maptype_blockharmful",
  "maptype_blocknoswing", "maptype_blockghost",  "maptype_gravitydown",
  "maptype_gravityleft",  "maptype_gravityup",   "maptype_gravityright",
  "maptype_playerspawn",  "maptype_extratime",   "maptype_finish"
};

static const float HalfPi = 1.570796325f;   // the game's own value of pi / 2

static const char* SaveHint = "Press B to save and go back";
static const char* SaveFailedHint = "Could not save the level - press B to try again";

// The bars across the top and bottom of the screen, in ScreenOrtho units.
static const float BarLeft = -450;
static const float BarWidth = 900;
static const float BarHeight = 25;
static const float BrushBarTop = -350;
static const float HintBarTop = 325;
static const float BarTextLeft = -455;
static const float BarTextRaise = 7.5f;     // text top above the bar's inner top
static const float BarTextSize = 0.65f;

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
  {look_sprite, &AtlasBall, 1.41f},
  {look_sprite, &AtlasExtraTime, 0.75f},
  {look_sprite, &AtlasFinish, 3.25f}
};
static const float LargestSprite = 3.25f;   // the finish; reaches past its cell
static const float SpriteOverhang = (LargestSprite - 1) * 0.5f;  // cells beyond the cell's edge

static const float AimMarkerSize = 2.25f;

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
  return *out < limit;
}

static void PanAndAim(float timeScale)
{
  const int* keys = InputState.KeyState;
  int right = IsDown(keys[KeyRight]) || IsDown(keys[KeyD]);
  int left = IsDown(keys[KeyLeft]) || IsDown(keys[KeyA]);
  int up = IsDown(keys[KeyUp]) || IsDown(keys[KeyW]);
  int down = IsDown(keys[KeyDown]) || IsDown(keys[KeyS]);
  float h = (float)(right - left);
  float v = (float)(up - down);
  float m = std::sqrt(h * h + v * v);
  if (m > 1)
    m = 1;
  float theta = std::atan2(h, v) - HalfPi;

  AimPoint.mouseNX = ClampUnit(InputState.MouseX / ScreenWidth * 2 - 1);
  AimPoint.mouseNY = ClampUnit(InputState.MouseY / ScreenHeight * 2 - 1);
  AimPoint.aimX = Camera.viewHeight * AimPoint.mouseNX * 0.5f * AspectRatio + Camera.camX;
  AimPoint.aimY = Camera.viewHeight * AimPoint.mouseNY * 0.5f + Camera.camY;

  Camera.camX += std::cos(theta) * m * EditorPanSpeed * timeScale;
  Camera.camY += std::sin(theta) * m * EditorPanSpeed * timeScale;
}

void EditorUpdate(float timeScale)
{
  const int* keys = InputState.KeyState;
  PanAndAim(timeScale);

  EditorBrush += (keys[KeyE] == InputPressed) - (keys[KeyQ] == InputPressed);
  Camera.viewHeight = EditorViewHeight;
  EditorBrush = WrapBrush(EditorBrush);

  int cx, cy;
  if (IsDown(InputState.MouseButtonState[ButtonLeft]) &&
      CellIndex(AimPoint.aimX, LevelWidth, &cx) && CellIndex(AimPoint.aimY, LevelHeight, &cy))
    SetCell(cx, cy, EditorBrush);

  // A failed save keeps the player here with the edits, so nothing is lost.
  if (keys[KeyB] == InputPressed) {
    EditorSaveFailed = !SaveLevel();
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

static void DrawCells(float left, float top, float right, float bottom)
{
  int x0, x1, y0, y1;
  if (!EditorCellRange(left, right, LevelWidth, &x0, &x1) ||
      !EditorCellRange(top, bottom, LevelHeight, &y0, &y1))
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

// A text too long for the bar at the usual size is drawn smaller to fit it.
static void DrawBar(float top, const char* text)
{
  float size = BarTextSize;
  float advance = strlen(text) * TextWidthFactor * TextAdvanceFactor;
  if (advance * size > BarWidth)
    size = BarWidth / advance;
  DrawPanel(AtlasPanelNormal, BarLeft, top, BarWidth, BarHeight);
  DrawText(BarTextLeft, top - BarTextRaise, text, size);
}

void DrawEditor()
{
  WorldOrtho();
  float halfW = Camera.viewHeight * AspectRatio * 0.5f;
  float halfH = Camera.viewHeight * 0.5f;
  float left = Camera.camX - halfW, right = Camera.camX + halfW;
  float top = Camera.camY - halfH, bottom = Camera.camY + halfH;
  DrawRect(AtlasBackground, left, top, right - left, bottom - top);
  DrawCells(left, top, right, bottom);
  DrawQuad(AtlasPointer, AimPoint.aimX, AimPoint.aimY, AimMarkerSize, AimMarkerSize, 0);

  ScreenOrtho();
  DrawBar(BrushBarTop, BrushLabels[WrapBrush(EditorBrush)]);
  DrawBar(HintBarTop, EditorHintText());
}
