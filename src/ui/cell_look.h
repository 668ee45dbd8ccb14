// cell_look: how each map type looks in the editor, in its palette, on its
// brush bar and under a paste brush: a picture over its cell, or a sprite of
// its own size centred on the cell.
#pragma once

// One picture of a map type in the rectangle (x, y, size, size); sprites
// larger than a cell are shrunk to fit when fit is set.
void DrawCellLook(int type, float x, float y, float size, bool fit);
