// The two fonts and the title logo. Both fonts are drawn with a fixed pen
// advance of about half a cell, so each glyph is centred in its cell and kept
// narrower than that advance.
#include "art_pictures.h"

#include <algorithm>

const float BigGlyphSize = 46;     // pixel size of the 64-texel font
const float BigOutline = 2.2f;     // dark rim so text reads on any panel or sky
const int BigInkMax = 31;          // widest ink; the game's pen moves 32.5 texels per glyph
const float SmallGlyphSize = 15;   // pixel size of the 20-pixel font
const int SmallInkMax = 10;        // the small font's pen moves 10 pixels per glyph

ArtRect FontCell(int code) {
  int k = code - FontFirstChar;
  return {FontLeft + FontCellSize * (k % FontColumns), FontCellSize * (k / FontColumns), FontCellSize, FontCellSize};
}

ArtRect SmallCell(int code) {
  int i = code - FontFirstChar;
  return {SmallCellSize * (i % SmallColumns), SmallCellSize * (i / SmallColumns), SmallCellSize, SmallCellSize};
}

static int InkWidth(const Mask* m) {
  int x0, x1;
  MaskInkColumns(m, &x0, &x1);
  return x1 - x0;
}

// The glyph at the given size, squeezed until its ink (grown by `grow`) fits
// `maxInk` columns. *pen receives the pen x that centres it in `cell` texels.
static Mask FittedGlyph(unsigned code, float size, float grow, int maxInk, int cell, int* pen) {
  float squeeze = 1, advance;
  Mask m = GlyphMask(font_mono, unsigned(code), size, squeeze, &advance);
  for (int tries = 0; tries < 4 && InkWidth(&m) + 2 * grow > maxInk; tries++) {
    squeeze *= (maxInk - 2 * grow) / InkWidth(&m);
    m = GlyphMask(font_mono, unsigned(code), size, squeeze, &advance);
  }
  int x0, x1;
  MaskInkColumns(&m, &x0, &x1);
  float inkCentre = m.left + (x0 + x1) * 0.5f;
  float boxCentre = advance * 0.5f;
  // keep the font's own placement unless that pushes the ink off centre
  float centre = std::fabs(inkCentre - boxCentre) < advance * 0.2f ? boxCentre : inkCentre;
  *pen = int(std::lround(cell * 0.5f - centre));
  return m;
}

// Characters that draw as their cell alone.
static bool IsBlank(unsigned code) { return code == ' ' || code == NoBreakSpace; }

Canvas BigGlyphCanvas(unsigned code) {
  Canvas cv = NewCanvas(FontCellSize, FontCellSize);
  const float mid = FontCellSize * 0.5f;
  if (code == 127 || code == PlaceholderCode) {
    FillSolid(&cv, [&](float x, float y) { return SdRoundBox(x, y, mid, mid, 12, 14, 3) - BigOutline; }, Col(10, 16, 34, 0.9f));
    FillSolid(&cv, [&](float x, float y) { return SdRoundBox(x, y, mid, mid, 12, 14, 3); }, Col(240, 244, 255));
  } else if (!IsBlank(code)) {
    int pen;
    Mask glyph = FittedGlyph(code, BigGlyphSize, BigOutline, BigInkMax, FontCellSize, &pen);
    Mask rim = DilateMask(&glyph, BigOutline);
    int base = int(std::lround(mid + CapHeight(font_mono, BigGlyphSize) * 0.5f));
    FillMask(&cv, &rim, pen + 1, base + 1, [](float, float) { return Col(0, 0, 10, 0.35f); });
    FillMask(&cv, &rim, pen, base, [](float, float) { return Col(10, 16, 34, 0.92f); });
    FillMask(&cv, &glyph, pen, base, [&](float, float y) {
      return Mix(Col(255, 255, 255), Col(196, 214, 240), (y - (base - 34)) / 44);
    });
  }
  return cv;
}

static void DrawTitle(Image* atlas) {
  Canvas cv = NewCanvas(ArtTitle.w, ArtTitle.h);
  const float room = 470, gap = 14, orbR = 38;  // texels across for the whole logo
  float size = 86, width;
  Mask word = TextMask(font_sans, "Tetherorb", size, &width);
  for (int tries = 0; tries < 3 && width + gap + 2 * orbR > room; tries++) {
    size = std::floor(size * (room - gap - 2 * orbR) / width);
    word = TextMask(font_sans, "Tetherorb", size, &width);
  }
  float cap = CapHeight(font_sans, size);
  const float total = width + gap + 2 * orbR;
  int pen = int(std::lround((ArtTitle.w - total) * 0.5f)), base = int(std::lround(64 + cap * 0.5f));
  float orbX = pen + width + gap + orbR, orbY = 64;
  Mask glow = DilateMask(&word, 9);
  Mask rim = DilateMask(&word, 4.5f);
  FillMask(&cv, &glow, pen, base, [](float, float) { return Col(80, 170, 255, 0.16f); });
  FillMask(&cv, &rim, pen + 3, base + 4, [](float, float) { return Col(0, 0, 12, 0.5f); });
  FillMask(&cv, &rim, pen, base, [](float, float) { return Col(10, 16, 40); });
  FillMask(&cv, &word, pen, base, [&](float, float y) {
    float t = (y - (base - cap)) / cap;
    Rgba c = Mix(Col(255, 255, 255), Col(150, 220, 255), t * 1.4f);
    return Mix(c, Col(60, 130, 230), SmoothStep(0.55f, 1.1f, t));
  });
  // the "2" rides on an orb hung from a short tether
  const float hookX = orbX + 12, hookY = 9;
  FillSolid(&cv, [&](float x, float y) { return SdSegment(x, y, orbX, orbY, hookX, hookY, 2.5f); }, Col(10, 16, 40));
  FillSolid(&cv, [&](float x, float y) { return SdSegment(x, y, orbX, orbY, hookX, hookY, 1.2f); }, Col(255, 230, 170));
  FillSolid(&cv, [&](float x, float y) { return SdCircle(x, y, hookX, hookY, 5); }, Col(10, 16, 40));
  FillSolid(&cv, [&](float x, float y) { return SdCircle(x, y, hookX, hookY, 3); }, Col(210, 220, 235));
  FillShape(&cv, [&](float x, float y) { return SdCircle(x, y, orbX, orbY, orbR + 10); },
            [&](float x, float y) { return Col(255, 160, 60, 0.3f * SmoothStep(orbR + 10, orbR, std::hypot(x - orbX, y - orbY))); });
  FillSolid(&cv, [&](float x, float y) { return SdCircle(x, y, orbX, orbY, orbR + 4); }, Col(10, 16, 40));
  FillShape(&cv, [&](float x, float y) { return SdCircle(x, y, orbX, orbY, orbR); }, [&](float x, float y) {
    float nx = (x - orbX) / orbR, ny = (y - orbY) / orbR;
    float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
    float light = Clamp01(-0.45f * nx - 0.55f * ny + 0.7f * nz);
    Rgba c = Mix(Col(150, 40, 12), Col(255, 150, 50), light);
    return Mix(c, Col(255, 250, 230), std::pow(light, 18.0f));
  });
  float twoWidth;
  Mask two = TextMask(font_sans, "2", 62, &twoWidth);
  Mask twoRim = DilateMask(&two, 3);
  int twoPen = int(std::lround(orbX - twoWidth * 0.5f)), twoBase = int(std::lround(orbY + CapHeight(font_sans, 62) * 0.5f));
  FillMask(&cv, &twoRim, twoPen, twoBase, [](float, float) { return Col(90, 20, 6, 0.85f); });
  FillMask(&cv, &two, twoPen, twoBase, [](float, float) { return Col(255, 252, 240); });
  PlaceCanvas(atlas, &cv, ArtTitle.x, ArtTitle.y, place_sprite);
}

void DrawAtlasFont(Image* atlas) {
  for (int code = FontFirstChar; code < FontFirstChar + FontChars; code++) {
    Canvas cv = BigGlyphCanvas(unsigned(code));
    ArtRect r = FontCell(code);
    PlaceCanvas(atlas, &cv, r.x, r.y, place_sprite);
  }
  DrawTitle(atlas);
}

// The small font: light glyphs with a one-pixel shadow, hinted at 15 pixels.
Canvas SmallGlyphCanvas(unsigned code) {
  Canvas cv = NewCanvas(SmallCellSize, SmallCellSize);
  const Rgba shadow = Col(0, 0, 8, 0.7f), light = Col(240, 246, 255);
  if (code == PlaceholderCode) {
    const float mid = SmallCellSize * 0.5f;
    auto box = [&](float x, float y) { return std::fabs(SdRoundBox(x, y, mid, mid, 3.5f, 5.5f, 1)) - 0.8f; };
    FillSolid(&cv, [&](float x, float y) { return box(x - 1, y - 1); }, shadow);
    FillSolid(&cv, box, light);
  } else if (!IsBlank(code)) {
    int pen;
    Mask glyph = FittedGlyph(code, SmallGlyphSize, 0, SmallInkMax, SmallCellSize, &pen);
    int base = int(std::lround(SmallCellSize * 0.5f + CapHeight(font_mono, SmallGlyphSize) * 0.5f));
    FillMask(&cv, &glyph, pen + 1, base + 1, [&](float, float) { return shadow; });
    FillMask(&cv, &glyph, pen, base, [&](float, float) { return light; });
  }
  return cv;
}

void DrawSmallFont(Image* dash) {
  for (int code = FontFirstChar; code < FontFirstChar + SmallChars; code++) {
    Canvas cv = SmallGlyphCanvas(unsigned(code));
    ArtRect r = SmallCell(code);
    PlaceCanvas(dash, &cv, r.x, r.y, place_sprite);
  }
}
