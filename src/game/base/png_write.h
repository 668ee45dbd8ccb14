// png_write: 8-bit RGBA pictures as PNG files, written by the game layer
// itself (no library): the zlib stream is deflate with its fixed Huffman
// codes, matching each byte run against the pixel before it and the row
// above, which is what flat-coloured pictures (a level's cells, the game's
// own screens) repeat most. Any PNG reader takes it.
//   EncodePng(rgba, w, h, png)   the PNG file of w x h pixels, rows from the top
#pragma once

#include <string>

// rgba holds w * h * 4 bytes; false (png untouched) for an empty picture.
bool EncodePng(const unsigned char* rgba, int w, int h, std::string* png);
