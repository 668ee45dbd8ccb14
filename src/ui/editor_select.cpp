// The select tool's drags, the region keys and the paste brush.
#include "ui/editor_select.h"

#include <cmath>

#include "game/base/controls.h"
#include "game/base/lang.h"
#include "game/base/sound_events.h"
#include "game/edit/edit_region.h"
#include "game/play/world.h"
#include "render/draw.h"
#include "ui/cell_look.h"
#include "ui/editor_save.h"

static const float SelectColour[4] = {0.4f, 0.9f, 1, 1};
static const float BrushColour[4] = {1, 1, 1, 0.9f};
static const float BrushAlpha = 0.6f;      // the brush's cells, see-through over the level
static const int MaxBrushQuads = 20000;    // a larger brush shows as its outline only

// TRANSLATORS: on the editor's bar after a paste, when the level already had a spawn.
static const char* SpawnKeptLine = N_("The level has its spawn already: the pasted one was left out");

enum { seldrag_none, seldrag_select, seldrag_move };
static bool ToolOn;
static bool Selected;
static CellRect Selection;
static int DragKind;
static int StartX, StartY, LastX, LastY;
static bool Brush;   // the clip follows the pointer

bool SelectHasMouse()
{
  return ToolOn || Brush;
}

bool SelectDragging()
{
  return DragKind != seldrag_none;
}

void ResetSelect()
{
  ToolOn = Selected = Brush = false;
  DragKind = seldrag_none;
}

void SelectToolOff()
{
  ToolOn = Selected = false;
  DragKind = seldrag_none;
}

void SelectToolKeys()
{
  if (!Controls.selectTool || DragKind != seldrag_none)
    return;
  ToolOn = !ToolOn;
  Selected = false;
  Brush = false;
  PushSound(sound_brush);
}

static bool Inside(const CellRect& r, int x, int y)
{
  return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

// The brush's top-left cell when the pointer is on cell (cx, cy): the clip centred on it.
static void BrushCorner(int cx, int cy, int* x, int* y)
{
  *x = cx - Clip.width / 2;
  *y = cy - Clip.height / 2;
}

static void PutBrush(int cx, int cy)
{
  int x, y;
  BrushCorner(cx, cy, &x, &y);
  ClearEditorNotes();
  bool dropsSpawn = PasteDropsSpawn(x, y);
  PasteClip(x, y);
  if (dropsSpawn)
    NoteEditorLine(SpawnKeptLine);
  Brush = false;
  ToolOn = true;   // what was pasted is selected, to move or turn at once
  Selected = ClipRect(x, y, x + Clip.width - 1, y + Clip.height - 1, &Selection);
}

void SelectMouse(int cx, int cy, bool inPaintArea)
{
  if (Brush) {
    if (Controls.pointerClick && inPaintArea)
      PutBrush(cx, cy);
    return;
  }
  if (DragKind != seldrag_none && Controls.tether) {
    LastX = cx;
    LastY = cy;
    return;
  }
  if (DragKind == seldrag_select) {
    Selected = ClipRect(StartX, StartY, LastX, LastY, &Selection);
  } else if (DragKind == seldrag_move && (LastX != StartX || LastY != StartY)) {
    ClearEditorNotes();
    Selected = MoveRegion(&Selection, LastX - StartX, LastY - StartY);
  }
  DragKind = seldrag_none;
  if (!Controls.pointerClick || !inPaintArea)
    return;
  DragKind = Selected && Inside(Selection, cx, cy) ? seldrag_move : seldrag_select;
  StartX = LastX = cx;
  StartY = LastY = cy;
}

bool RegionKeyPressed()
{
  bool turn = Controls.flipAcross || Controls.flipDown || Controls.restart;
  bool onSelection = Selected && (Controls.copy || Controls.cut || Controls.deleteLevel || turn);
  return onSelection || (Brush && turn) || (Controls.paste && Clip.width > 0);
}

void RegionKeys()
{
  if (Brush && Controls.pauseToggle) {
    Brush = false;
    Controls.pauseToggle = false;   // the pause key dropped the brush, and pauses nothing
    PushSound(sound_menu_back);
  }
  if (DragKind != seldrag_none)
    return;
  int turn = Controls.flipAcross ? turn_flip_h : Controls.flipDown ? turn_flip_v
             : Controls.restart ? turn_quarter : -1;
  if (Brush && turn >= 0) {
    TurnClip(turn);
  } else if (Selected) {
    if (Controls.copy || Controls.cut || Controls.deleteLevel || turn >= 0)
      ClearEditorNotes();
    if (Controls.copy)
      CopyRegion(Selection);
    else if (Controls.cut)
      CutRegion(Selection);
    else if (Controls.deleteLevel)
      EmptyRegion(Selection);
    else if (turn >= 0)
      TurnRegion(&Selection, turn);
  }
  if (Controls.paste && Clip.width > 0) {
    Brush = true;
    DragKind = seldrag_none;
  }
}

// Lines round cells x0..x1 by y0..y1.
static void Outline(int x0, int y0, int x1, int y1, const float* colour)
{
  float l = (float)x0, t = (float)y0, r = (float)x1 + 1, b = (float)y1 + 1;
  const float ring[16] = {l, t, r, t, r, t, r, b, r, b, l, b, l, b, l, t};
  DrawPlainLines(ring, 4, colour);
}

void DrawSelect()
{
  if (Brush) {
    int x, y;
    BrushCorner((int)std::floor(AimPoint.aimX), (int)std::floor(AimPoint.aimY), &x, &y);
    if ((long)Clip.width * Clip.height <= MaxBrushQuads) {
      SetDrawTint(1, 1, 1, BrushAlpha);
      for (int i = 0; i < Clip.width; i++)
        for (int j = 0; j < Clip.height; j++)
          DrawCellLook(Clip.cells[i * Clip.height + j], (float)(x + i), (float)(y + j), 1, false);
      SetDrawTint(1, 1, 1, 1);
    }
    Outline(x, y, x + Clip.width - 1, y + Clip.height - 1, BrushColour);
    return;
  }
  if (DragKind == seldrag_select) {
    CellRect r;
    if (ClipRect(StartX, StartY, LastX, LastY, &r))
      Outline(r.left, r.top, r.right, r.bottom, SelectColour);
    return;
  }
  if (!Selected)
    return;
  int dx = DragKind == seldrag_move ? LastX - StartX : 0, dy = DragKind == seldrag_move ? LastY - StartY : 0;
  Outline(Selection.left + dx, Selection.top + dy, Selection.right + dx, Selection.bottom + dy, SelectColour);
}
