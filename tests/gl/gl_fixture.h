// Shared helpers of the GL tests: a real 800 x 600 window opened once by
// gl_main.cpp, pixel read-back in top-down window coordinates, PNG writing
// and throw-away working directories.
#pragma once

#include <string>

#include <lodepng.h>

const int GLTestW = 800;   // window pixels
const int GLTestH = 600;

struct Rgba {
  unsigned char r, g, b, a;
};

// The pixel at (x, y) of the back buffer, y counted from the top.
Rgba ReadPixel(int x, int y);

// True when the pixel's colour is within 8 of (r, g, b) in every channel.
bool PixelIs(int x, int y, int r, int g, int b);

// Writes raw pixels of the given colour type (8 bits a channel) as a PNG
// of exactly that type; true on success.
bool WritePng(const char* path, const unsigned char* pixels, int w, int h, LodePNGColorType type);

// Makes a fresh empty directory and changes into it; returns its path.
std::string EnterTempDir();

// Clears to black and sets a y-down pixel projection with the drawing state
// every screen starts from: texturing, blending, alpha test, both arrays.
void BeginPixelScene();
