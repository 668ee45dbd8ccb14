// editor_select: the select tool and the paste brush. With the select tool
// on (its own key) the left button drags a rectangle of cells, or, pressed
// inside the selection, drags the selection's cells to another place. Then
// the copy, cut and empty keys act on it, and the flip keys and the turn key
// flip it and turn it a quarter where it lies. The paste key takes the clip
// (game/edit/edit_region) as a brush that follows the pointer until a click puts
// it down, or the pause key drops it; the flip and turn keys flip and turn
// the brush meanwhile. Each change is one undo step.
#pragma once

#include "game/edit/edit_ops.h"

// The select tool is on, or the paste brush follows the pointer: the left button is theirs.
bool SelectHasMouse();

// A level opened: the tool off, no selection, no brush; the clip stays.
void ResetSelect();

// The select tool's key, and everything off when the brush is chosen instead.
void SelectToolKeys();
void SelectToolOff();

// The left button for the select tool and the brush at cell (cx, cy); the
// pointer is over the paint area when inPaintArea is set.
void SelectMouse(int cx, int cy, bool inPaintArea);

// True when a region key acts this frame (the caller ends its own held steps first).
bool RegionKeyPressed();
// The copy, cut, empty, flip, turn and paste keys, and the pause key that drops the brush.
void RegionKeys();

// True while a selection or move drag is under way.
bool SelectDragging();

// The selection (or the block it is dragged to) and the brush's cells at
// the pointer, in WorldOrtho.
void DrawSelect();
