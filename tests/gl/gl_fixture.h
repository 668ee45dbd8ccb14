// Shared helpers of the GL tests: a real 800 x 600 window opened once by
// gl_main.cpp, pixel read-back in top-down window coordinates and PNG
// writing; scratch working directories come from the headless helpers.
#pragma once

#include <lodepng.h>

#include "../unit/test_support.h"

const int GLTestW = 800;   // window pixels
const int GLTestH = 600;

struct Colour {
  unsigned char r, g, b;
};
extern const Colour Red, Green, Blue, White, Magenta, Yellow;
extern const Colour PieceColours[2][9];  // a distinct colour per frame piece, row by row

// True when the back buffer's pixel at (x, y), y from the top, is within 8
// of the colour in every channel.
bool IsColour(int x, int y, Colour c);
bool IsBlack(int x, int y);

// Expects the nine pieces of a frame, row by row, at the crossings of the
// three columns xs and the three rows ys.
void ExpectNinePieces(const int xs[3], const int ys[3], const Colour* colours);

// Paints an opaque box into an RGBA image of the given width in pixels.
void FillBox(unsigned char* img, int imgW, int x, int y, int w, int h, Colour c);

// Writes raw pixels of the given colour type (8 bits a channel) as a PNG
// of exactly that type; true on success.
bool WritePng(const char* path, const unsigned char* pixels, int w, int h, LodePNGColorType type);

// Clears to black and sets a y-down pixel projection with the drawing state
// every screen starts from: texturing, blending, alpha test, both arrays.
void BeginPixelScene();
