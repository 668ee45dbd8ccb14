// editor: pan over a level, pick a brush, paint strokes, fill, resize, retitle,
// undo and redo, and save (editor_save). A click on the level while the title
// is being edited ends the title edit first, as a step of its own. The editor
// changes only MapGrid cells, the level's size, EditTitle, the Camera, the
// AimPoint and the brush; spawns, pickups and finishes are plain cells until
// the level starts. The grid operations live in game/edit/edit_ops and
// game/edit/edit_history; this screen maps input to them, and editor_draw.cpp
// draws it.
#pragma once

#include "game/edit/edit_ops.h"
#include "game/play/world.h"
#include "ui/editor_layout.h"

extern int EditorBrush;                         // MapType that painting writes, 0..11
extern const char* const BrushLabels[MapTypeCount]; // "maptype_nothing" .. "maptype_finish"
extern bool EditorTitleEditing;                 // typed keys go into the title

// Opens level n (loaded already) or, when new is true, a fresh level n in the editor.
void OpenEditor(int n, bool fresh);

// True while the editor, or a test run of its level, holds changes that were
// not saved: a step since the last save or the opening, a stroke or a title edit under way.
bool EditorHasUnsavedEdits();

// Pan, aim, brush, painting, fills, resize, title, undo and save, scaled by timeScale.
// A held Ctrl + arrow resizes again and again after a short delay (key_repeat),
// the whole hold one step.
void EditorUpdate(float timeScale);

// The level in one pass, grid, outline, the marked cell, aim marker, brush
// bar, palette and hint bar.
void DrawEditor();

// The brush value brought into 0..11 modulo 12, for any int.
int WrapBrush(int brush);

// The first and last cell index, inside 0..count - 1, whose cell or sprite can
// reach into the view span lo..hi along one axis; false when none can.
bool EditorCellRange(float lo, float hi, int count, int* first, int* last);

// The cells a Shift + drag rectangle would fill now, clipped to the level,
// and their type; false when no rectangle is being dragged over the level.
bool EditorDragRect(CellRect* r, int* type);

// The palette's top in this window's ScreenOrtho.
float PaletteTopInWindow();

// The palette entry (0..11) at ScreenOrtho point (x, y), or -1.
int PaletteEntryAt(float x, float y);
