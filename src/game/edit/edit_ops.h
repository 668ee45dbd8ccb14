// Room game/edit: the editor's operations on the grid, its regions and its
// undo history. Includes base, play, files and settings.
//
// edit_ops: the editor's grid operations, each writing through HistorySet so
// the open step can take it back. Cells outside the level are never touched
// except by ResizeLevel, which empties what leaves or enters the level so a
// shrink followed by a grow shows empty cells.
#pragma once

const int NewLevelWidth = 40;
const int NewLevelHeight = 20;

// Paints every cell on the line from (x0, y0) to (x1, y1) that lies inside the level.
void PaintLine(int x0, int y0, int x1, int y1, int type);
// A block of cells, edges included.
struct CellRect {
  int left, top, right, bottom;
};

// The rectangle with corners (x0, y0) and (x1, y1) clipped to the level; false when none of it is inside.
bool ClipRect(int x0, int y0, int x1, int y1, CellRect* r);
// Fills the rectangle with corners (x0, y0) and (x1, y1), clipped to the level.
void FillRect(int x0, int y0, int x1, int y1, int type);
// Fills the 4-connected region of cells of the type at (x, y) with type; no recursion.
void FloodFill(int x, int y, int type);
// Sets the size, clamped to 1..998 x 1..1000, emptying cells outside either size.
void ResizeLevel(int width, int height);
// The grid, size and title of a fresh level n: a wall of normal blocks, a spawn
// near the left, a finish near the right, titled "Level n". Clears the history.
void MakeNewLevel(int n);
