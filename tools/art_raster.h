// art_raster: the small software rasteriser behind the artwork generator.
// Pictures are drawn into float canvases (premultiplied RGBA, one texel per
// pixel) with anti-aliased signed-distance shapes and FreeType text, then
// placed into 8-bit RGBA images that are written as PNG files.
#pragma once

#include <cmath>
#include <string>
#include <vector>

// Straight (not premultiplied) colour, each channel 0..1.
struct Rgba {
  float r, g, b, a;
};

// Floating-point picture, premultiplied RGBA; texel (x, y) covers [x, x+1] x [y, y+1].
struct Canvas {
  int w = 0, h = 0;
  std::vector<float> px;  // 4 floats per texel, rows from the top
};

// Coverage picture (0..1) with its origin relative to a pen position.
struct Mask {
  int w = 0, h = 0;
  int left = 0, top = 0;  // offset of texel (0, 0) from the pen, y down
  std::vector<float> a;
};

// 8-bit RGBA picture, rows from the top, as written to the PNG files.
struct Image {
  int w = 0, h = 0;
  std::vector<unsigned char> px;
};

// How a picture's outer texels are treated when it is placed into an image.
enum PlaceMode {
  place_sprite,  // transparent texels take nearby colours, so filtering adds no fringe
  place_tile     // the outer texel ring repeats its inner neighbour (picture's own edge colour)
};

const float Pi = 3.14159265f;

// A clear canvas of w x h texels.
Canvas NewCanvas(int w, int h);
// A clear image of w x h pixels.
Image NewImage(int w, int h);

// Composites colour c over texel (x, y) with the given coverage; outside texels are ignored.
void BlendTexel(Canvas* cv, int x, int y, Rgba c, float coverage);

// Colour helpers.
Rgba Col(int r, int g, int b, float a = 1.0f);
Rgba Mix(Rgba a, Rgba b, float t);
Rgba WithAlpha(Rgba c, float a);
float Clamp01(float v);
float SmoothStep(float e0, float e1, float v);

// Signed distances (negative inside) in texel units.
float SdCircle(float x, float y, float cx, float cy, float r);
float SdRoundBox(float x, float y, float cx, float cy, float hw, float hh, float r);
float SdSegment(float x, float y, float ax, float ay, float bx, float by, float r);
// Any simple polygon (convex or not) of n points given as x, y pairs.
float SdPolygon(float x, float y, const float* points, int n);

// Deterministic value noise in 0..1 for integer lattice coordinates.
float HashNoise(int x, int y, int seed);
// Smooth value noise in 0..1, period `cell` texels, wrapping every `wrap` cells.
float SmoothNoise(float x, float y, float cell, int wrap, int seed);

// Fills every texel of the canvas by the shape's signed distance (anti-aliased
// over one texel) with the colour paint(x, y) at the texel centre.
template <class Shape, class Paint>
void FillShape(Canvas* cv, Shape shape, Paint paint) {
  for (int y = 0; y < cv->h; y++)
    for (int x = 0; x < cv->w; x++) {
      float fx = x + 0.5f, fy = y + 0.5f;
      float cover = Clamp01(0.5f - shape(fx, fy));
      if (cover > 0) BlendTexel(cv, x, y, paint(fx, fy), cover);
    }
}

// Same as FillShape with a single colour.
template <class Shape>
void FillSolid(Canvas* cv, Shape shape, Rgba c) {
  FillShape(cv, shape, [c](float, float) { return c; });
}

// Loads a font file; false when FreeType or the file fails.
bool LoadFont(int slot, const char* path);
// True when the font has a glyph of its own for the character.
bool FontHasChar(int slot, unsigned code);
// Coverage of one character at the given pixel size, squeezed horizontally by
// `squeeze` (1 = natural width); *advance receives the pen advance in pixels.
Mask GlyphMask(int slot, unsigned code, float size, float squeeze, float* advance);
// Coverage of a whole line of text with the pen starting at 0, baseline at 0.
Mask TextMask(int slot, const char* text, float size, float* width);
// Font metrics at a pixel size: height of capitals above the baseline.
float CapHeight(int slot, float size);
// The mask grown by radius texels (anti-aliased disc dilation), for outlines.
Mask DilateMask(const Mask* m, float radius);
// Column range [x0, x1) of the mask that holds ink; x0 == x1 when empty.
void MaskInkColumns(const Mask* m, int* x0, int* x1);
// Composites the mask at pen (px, py) with colour paint(x, y).
template <class Paint>
void FillMask(Canvas* cv, const Mask* m, int px, int py, Paint paint) {
  for (int y = 0; y < m->h; y++)
    for (int x = 0; x < m->w; x++) {
      float cover = m->a[y * m->w + x];
      int tx = px + m->left + x, ty = py + m->top + y;
      if (cover > 0) BlendTexel(cv, tx, ty, paint(tx + 0.5f, ty + 0.5f), cover);
    }
}

// Writes the canvas into the image with its top-left at (x, y).
void PlaceCanvas(Image* img, const Canvas* cv, int x, int y, PlaceMode mode);
// Writes the image as an 8-bit RGBA PNG; false on failure.
bool SaveImage(const Image* img, const std::string& path);
