// Canvas blending, distance shapes, FreeType glyph masks and PNG output.
#include "art_raster.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <lodepng.h>

#include <algorithm>

const int FontSlots = 4;
static FT_Library FontLibrary;
static FT_Face FontFaces[FontSlots];

const int BleedPasses = 6;  // texels a sprite's colours spread into its clear area

Canvas NewCanvas(int w, int h) {
  Canvas cv;
  cv.w = w;
  cv.h = h;
  cv.px.assign(size_t(w) * h * 4, 0.0f);
  return cv;
}

Image NewImage(int w, int h) {
  Image img;
  img.w = w;
  img.h = h;
  img.px.assign(size_t(w) * h * 4, 0);
  return img;
}

float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

float SmoothStep(float e0, float e1, float v) {
  float t = Clamp01((v - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

Rgba Col(int r, int g, int b, float a) { return {r / 255.0f, g / 255.0f, b / 255.0f, a}; }

Rgba Mix(Rgba a, Rgba b, float t) {
  t = Clamp01(t);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba WithAlpha(Rgba c, float a) { return {c.r, c.g, c.b, a}; }

void BlendTexel(Canvas* cv, int x, int y, Rgba c, float coverage) {
  if (x < 0 || y < 0 || x >= cv->w || y >= cv->h) return;
  float* p = &cv->px[(size_t(y) * cv->w + x) * 4];
  float a = Clamp01(c.a * coverage);
  p[0] = c.r * a + p[0] * (1 - a);
  p[1] = c.g * a + p[1] * (1 - a);
  p[2] = c.b * a + p[2] * (1 - a);
  p[3] = a + p[3] * (1 - a);
}

float SdCircle(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }

float SdRoundBox(float x, float y, float cx, float cy, float hw, float hh, float r) {
  float qx = std::fabs(x - cx) - hw + r, qy = std::fabs(y - cy) - hh + r;
  float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - r;
}

float SdSegment(float x, float y, float ax, float ay, float bx, float by, float r) {
  float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
  float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? Clamp01((px * dx + py * dy) / len2) : 0;
  return std::hypot(px - dx * t, py - dy * t) - r;
}

float SdPolygon(float x, float y, const float* pts, int n) {
  float best = 1e30f, sign = 1;
  for (int i = 0, j = n - 1; i < n; j = i, i++) {
    float vx = pts[2 * i], vy = pts[2 * i + 1];
    float ex = pts[2 * j] - vx, ey = pts[2 * j + 1] - vy, wx = x - vx, wy = y - vy;
    float t = Clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey));
    float bx = wx - ex * t, by = wy - ey * t;
    best = std::min(best, bx * bx + by * by);
    bool above = y >= vy, below = y < pts[2 * j + 1], left = ex * wy > ey * wx;
    if ((above && below && left) || (!above && !below && !left)) sign = -sign;
  }
  return sign * std::sqrt(best);
}

float HashNoise(int x, int y, int seed) {
  unsigned h = unsigned(x) * 374761393u + unsigned(y) * 668265263u + unsigned(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xffffff) / float(0xffffff);
}

float SmoothNoise(float x, float y, float cell, int wrap, int seed) {
  float fx = x / cell, fy = y / cell;
  int ix = int(std::floor(fx)), iy = int(std::floor(fy));
  float tx = fx - ix, ty = fy - iy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  auto at = [&](int i, int j) { return HashNoise(((i % wrap) + wrap) % wrap, ((j % wrap) + wrap) % wrap, seed); };
  float top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
  float bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
  return top + (bottom - top) * ty;
}

bool LoadFont(int slot, const char* path) {
  if (slot < 0 || slot >= FontSlots) return false;
  if (!FontLibrary && FT_Init_FreeType(&FontLibrary)) return false;
  return FT_New_Face(FontLibrary, path, 0, &FontFaces[slot]) == 0;
}

const float FreeTypeUnit = 64.0f;  // FreeType's 26.6 fixed point

bool FontHasChar(int slot, unsigned code) {
  return FontFaces[slot] && FT_Get_Char_Index(FontFaces[slot], code) != 0;
}

Mask GlyphMask(int slot, unsigned code, float size, float squeeze, float* advance) {
  Mask m;
  *advance = 0;
  FT_Face face = FontFaces[slot];
  if (!face) return m;
  FT_Set_Pixel_Sizes(face, 0, FT_UInt(std::lround(size)));
  FT_Matrix squeezeMatrix = {FT_Fixed(squeeze * 65536), 0, 0, 0x10000};
  FT_Set_Transform(face, &squeezeMatrix, nullptr);
  FT_Int32 flags = squeeze == 1.0f ? FT_LOAD_RENDER : (FT_LOAD_RENDER | FT_LOAD_NO_HINTING);
  if (FT_Load_Char(face, code, flags)) return m;
  FT_GlyphSlot g = face->glyph;
  *advance = g->advance.x / FreeTypeUnit;
  m.w = int(g->bitmap.width);
  m.h = int(g->bitmap.rows);
  m.left = g->bitmap_left;
  m.top = -g->bitmap_top;
  m.a.assign(size_t(m.w) * m.h, 0.0f);
  for (int y = 0; y < m.h; y++)
    for (int x = 0; x < m.w; x++) m.a[y * m.w + x] = g->bitmap.buffer[y * g->bitmap.pitch + x] / 255.0f;
  return m;
}

Mask TextMask(int slot, const char* text, float size, float* width) {
  const int pad = 2;
  float pen = 0, advance;
  int minX = 0, maxX = 1, minY = 0, maxY = 1;
  std::vector<Mask> glyphs;
  std::vector<int> pens;
  for (const char* c = text; *c; c++) {
    Mask g = GlyphMask(slot, (unsigned char)*c, size, 1.0f, &advance);
    pens.push_back(int(std::lround(pen)));
    minX = std::min(minX, pens.back() + g.left);
    maxX = std::max(maxX, pens.back() + g.left + g.w);
    minY = std::min(minY, g.top);
    maxY = std::max(maxY, g.top + g.h);
    glyphs.push_back(g);
    pen += advance;
  }
  *width = pen;
  Mask m;
  m.left = minX - pad;
  m.top = minY - pad;
  m.w = maxX - minX + 2 * pad;
  m.h = maxY - minY + 2 * pad;
  m.a.assign(size_t(m.w) * m.h, 0.0f);
  for (size_t i = 0; i < glyphs.size(); i++) {
    const Mask& g = glyphs[i];
    for (int y = 0; y < g.h; y++)
      for (int x = 0; x < g.w; x++) {
        float& dst = m.a[(g.top + y - m.top) * m.w + (pens[i] + g.left + x - m.left)];
        dst = std::max(dst, g.a[y * g.w + x]);
      }
  }
  return m;
}

float CapHeight(int slot, float size) {
  float advance;
  Mask h = GlyphMask(slot, 'H', size, 1.0f, &advance);
  return float(-h.top);
}

Mask DilateMask(const Mask* m, float radius) {
  int r = int(std::ceil(radius)) + 1;
  Mask d;
  d.w = m->w + 2 * r;
  d.h = m->h + 2 * r;
  d.left = m->left - r;
  d.top = m->top - r;
  d.a.assign(size_t(d.w) * d.h, 0.0f);
  for (int y = 0; y < m->h; y++)
    for (int x = 0; x < m->w; x++) {
      float a = m->a[y * m->w + x];
      if (a <= 0) continue;
      for (int j = -r; j <= r; j++)
        for (int i = -r; i <= r; i++) {
          float reach = a * Clamp01(radius + 0.5f - std::hypot(float(i), float(j)));
          float& dst = d.a[(y + r + j) * d.w + (x + r + i)];
          dst = std::max(dst, reach);
        }
    }
  return d;
}

void MaskInkColumns(const Mask* m, int* x0, int* x1) {
  *x0 = m->w;
  *x1 = 0;
  for (int y = 0; y < m->h; y++)
    for (int x = 0; x < m->w; x++)
      if (m->a[y * m->w + x] > 0.02f) {
        *x0 = std::min(*x0, x);
        *x1 = std::max(*x1, x + 1);
      }
  if (*x1 <= *x0) *x0 = *x1 = 0;
}

// Gives every clear texel the average colour of its inked neighbours, a few
// texels deep, so linear filtering at a sprite's edge blends toward its own
// colours instead of black.
static void BleedColours(Canvas* cv) {
  std::vector<float> rgb(size_t(cv->w) * cv->h * 3, 0.0f);
  std::vector<char> known(size_t(cv->w) * cv->h, 0);
  for (int i = 0; i < cv->w * cv->h; i++) {
    float a = cv->px[i * 4 + 3];
    if (a <= 0) continue;
    known[i] = 1;
    for (int k = 0; k < 3; k++) rgb[i * 3 + k] = cv->px[i * 4 + k] / a;
  }
  for (int pass = 0; pass < BleedPasses; pass++) {
    std::vector<char> next = known;
    for (int y = 0; y < cv->h; y++)
      for (int x = 0; x < cv->w; x++) {
        int i = y * cv->w + x;
        if (known[i]) continue;
        float sum[3] = {0, 0, 0};
        int n = 0;
        for (int j = -1; j <= 1; j++)
          for (int k = -1; k <= 1; k++) {
            int nx = x + k, ny = y + j;
            if (nx < 0 || ny < 0 || nx >= cv->w || ny >= cv->h || !known[ny * cv->w + nx]) continue;
            for (int c = 0; c < 3; c++) sum[c] += rgb[(ny * cv->w + nx) * 3 + c];
            n++;
          }
        if (!n) continue;
        for (int c = 0; c < 3; c++) rgb[i * 3 + c] = sum[c] / n;
        next[i] = 1;
      }
    known = next;
  }
  for (int i = 0; i < cv->w * cv->h; i++)
    if (cv->px[i * 4 + 3] <= 0)
      for (int c = 0; c < 3; c++) cv->px[i * 4 + c] = rgb[i * 3 + c];  // colour kept at zero alpha
}

static unsigned char ToByte(float v) { return (unsigned char)std::lround(Clamp01(v) * 255.0f); }

void PlaceCanvas(Image* img, const Canvas* src, int x, int y, PlaceMode mode) {
  Canvas cv = *src;
  if (mode == place_sprite) BleedColours(&cv);
  for (int j = 0; j < cv.h; j++)
    for (int i = 0; i < cv.w; i++) {
      int si = i, sj = j;
      if (mode == place_tile) {
        si = std::min(std::max(i, 1), cv.w - 2);
        sj = std::min(std::max(j, 1), cv.h - 2);
      }
      const float* p = &cv.px[(size_t(sj) * cv.w + si) * 4];
      float a = p[3];
      int tx = x + i, ty = y + j;
      if (tx < 0 || ty < 0 || tx >= img->w || ty >= img->h) continue;
      unsigned char* d = &img->px[(size_t(ty) * img->w + tx) * 4];
      bool straight = mode == place_sprite && a <= 0;  // bled colour is stored straight
      for (int c = 0; c < 3; c++) d[c] = ToByte(straight ? p[c] : (a > 0 ? p[c] / a : 0));
      d[3] = ToByte(a);
    }
}

bool SaveImage(const Image* img, const std::string& path) {
  lodepng::State state;
  state.encoder.auto_convert = 0;
  state.info_raw.colortype = LCT_RGBA;
  state.info_raw.bitdepth = 8;
  state.info_png.color.colortype = LCT_RGBA;
  state.info_png.color.bitdepth = 8;
  std::vector<unsigned char> png;
  if (lodepng::encode(png, img->px, unsigned(img->w), unsigned(img->h), state)) return false;
  return lodepng::save_file(png, path) == 0;
}
