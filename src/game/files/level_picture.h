// level_picture: a picture of a whole level from its cells, in the colours
// of the game's own cell art (the atlas that tools/art_cells.cpp and
// tools/art_atlas.cpp draw): blue walls, red harmful blocks, steel no-swing
// blocks, pale ghost blocks, violet gravity cells with their arrow, the
// orange ball at the spawn, teal extra-time pickups and the green finish.
// A level fits PictureLongSide pixels on its long side with a whole number
// of pixels for each cell, at least one; a level wider or taller than that
// is scaled down, each pixel showing the cell at its top-left, and then the
// spawn, the finishes and the pickups are drawn over the pixels they fall
// in, so that they never vanish.
//   PictureLongSide                    the most pixels on a picture's long side
//   LevelPicture                       RGBA pixels, rows from the top
//   PictureCellPixels(w, h)            pixels along a cell's side; 0 when scaled down
//   DrawLevelPicture(cells, w, h, out) the picture of w x h cells (MapType, row by row from the top)
#pragma once

#include <vector>

const int PictureLongSide = 512;

struct LevelPicture {
  int w = 0, h = 0;
  std::vector<unsigned char> rgba;   // 4 bytes a pixel
};

int PictureCellPixels(int w, int h);
void DrawLevelPicture(const unsigned char* cells, int w, int h, LevelPicture* out);
