// edit_region: the editor's operations on a block of cells and its clip.
// The clip is the block last copied or cut; it stays while other levels are
// opened. Each operation that changes the level is one mixed history step
// (game/edit/edit_history), so one undo takes it back whole. Flips and quarter
// turns turn gravity cells with the cells: a flipped "gravity left" becomes
// "gravity right", a quarter turn turns each gravity cell a quarter.
//   Clip                the copied cells, column by column (x * height + y)
//   TurnedType          a map type after a flip or a quarter turn
//   CopyRegion          the block into the clip, the level untouched
//   CutRegion           copies, then empties the block: one step
//   EmptyRegion         empties the block: one step
//   TurnRegion          flips or turns the block where it lies: one step
//   TurnClip            flips or turns the clip
//   MoveRegion          the block's cells moved by (dx, dy), the block left empty: one step
//   PastePlaces         what a paste at (left, top) would write, and whether it keeps the spawn
//   PasteClip           writes the clip with its top-left at (left, top): one step
#pragma once

#include "game/edit/edit_ops.h"
#include "game/play/world.h"

enum { turn_flip_h = 0, turn_flip_v, turn_quarter, TurnCount };  // a quarter turn is clockwise on screen

struct CellClip {
  int width, height;                   // 0 x 0 until something is copied
  MapCell cells[MapSize * MapSize];
};
extern CellClip Clip;

// type after the turn: gravity cells change direction, the rest stay.
int TurnedType(int type, int turn);

// The cells of r (inside the level) into the clip.
void CopyRegion(const CellRect& r);
void CutRegion(const CellRect& r);
void EmptyRegion(const CellRect& r);

// Flips r, or turns it a quarter about its top-left corner, where it lies; a
// turned block that reaches out of the level loses what is outside, and
// what the old block covered and the new does not is emptied. r becomes the
// block the cells are in now, clipped to the level.
void TurnRegion(CellRect* r, int turn);
void TurnClip(int turn);

// Moves r's cells by (dx, dy), emptying r first; cells that would leave the
// level are lost. r becomes the moved block, clipped; false when none of it is left inside.
bool MoveRegion(CellRect* r, int dx, int dy);

// The one-spawn rule: true when a paste at (left, top) would leave a spawn
// of the clip out because the level keeps one of its own outside the pasted block.
bool PasteDropsSpawn(int left, int top);

// Writes the clip with its top-left cell at (left, top), clipped to the level.
// A spawn of the clip is left out while the level has one outside the pasted
// block; when it has none, only the clip's first spawn is pasted and the
// block holds no other. False when the clip is empty.
bool PasteClip(int left, int top);
