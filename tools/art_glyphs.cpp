// The two extra glyph pictures: the characters of the glyph set beyond
// ASCII, drawn exactly as the ASCII glyphs of each font, cell k holding
// ExtraGlyphCodes[k], row by row.
#include "art_pictures.h"

#include <cstdio>

// Every character but the drawn placeholder and the no-break space must come from the font.
static bool FontHoldsTheSet() {
  for (int k = 0; k < ExtraGlyphCount; k++) {
    unsigned code = ExtraGlyphCodes[k];
    if (code != PlaceholderCode && code != NoBreakSpace && !FontHasChar(font_mono, code)) {
      std::fprintf(stderr, "tetherorb2-art: the mono font has no glyph for U+%04X\n", code);
      return false;
    }
  }
  return true;
}

template <class DrawGlyph>
static void PlaceGlyphs(Image* glyphs, int cell, int columns, DrawGlyph draw) {
  for (int k = 0; k < ExtraGlyphCount; k++) {
    Canvas cv = draw(ExtraGlyphCodes[k]);
    PlaceCanvas(glyphs, &cv, cell * (k % columns), cell * (k / columns), place_sprite);
  }
}

bool DrawBigGlyphs(Image* glyphs) {
  if (!FontHoldsTheSet()) return false;
  PlaceGlyphs(glyphs, BigGlyphsCell, BigGlyphsColumns, BigGlyphCanvas);
  return true;
}

bool DrawSmallGlyphs(Image* glyphs) {
  if (!FontHoldsTheSet()) return false;
  PlaceGlyphs(glyphs, SmallGlyphsCell, SmallGlyphsColumns, SmallGlyphCanvas);
  return true;
}
