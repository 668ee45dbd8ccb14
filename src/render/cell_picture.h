// cell_picture: the level's cells as one texture, one texel a cell, from
// which the editor draws the level at small zooms (one quad for the whole
// level, not one a cell) and its overview map. The texture keeps a copy of
// the cells it was last sent; on a frame after an edit, an undo, another
// level or a new size the level is compared with that copy and only the
// rectangle of cells that changed is sent again (glTexSubImage2D). A new GL
// context is noticed and the picture made again.
//   RefreshCellPicture   brings the texture up to the level's cells
//   DrawCellPicture      the level's picture stretched over a rectangle
//   CellPictureSent      texels sent so far, for the benchmark and the tests
#pragma once

extern long CellPictureSent;

// Sends the cells that changed since the last refresh; cheap when none did.
void RefreshCellPicture();

// The level's W x H cells over the rectangle from (x, y) to (x + w, y + h),
// in the projection in force, alpha 0 where a cell is empty, tinted by alpha.
// Leaves the atlas bound.
void DrawCellPicture(float x, float y, float w, float h, float alpha);
