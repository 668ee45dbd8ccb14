// text: how a UTF-8 string becomes glyph pictures, for both fonts. A font
// keeps its ASCII glyphs where they always were (the atlas, the dashboard)
// and the characters of the glyph set in a picture of its own beside them
// ("Media/bigglyphs.png", "Media/smallglyphs.png"); NextGlyph hands out each
// character's rectangle with the texture it lies in, so the drawing loops
// only switch textures, and never allocate.
#pragma once

#include "render/atlas.h"
#include "render/glyph_set.h"

// One font's two glyph tables.
struct GlyphFont {
  const AtlasRect* ascii;         // entry k is character code firstCode + k
  int firstCode, lastCode;        // codes the ascii table holds
  const unsigned* asciiTexture;   // the texture those lie in
  const AtlasRect* extra;         // entry k is ExtraGlyphCodes[k]
  const unsigned* extraTexture;
};

extern unsigned BigGlyphsTexture;     // GL texture names; 0 when the picture failed to load
extern unsigned SmallGlyphsTexture;
extern AtlasRect BigExtraGlyphs[ExtraGlyphCount];
extern AtlasRect SmallExtraGlyphs[ExtraGlyphCount];
extern const GlyphFont BigFont;       // the atlas font DrawText uses; the dashboard's: overlay.h

// Fills BigExtraGlyphs (inset by a texel, as the atlas font) and
// SmallExtraGlyphs (no inset, as the dashboard); needs no GL context.
// BuildAtlas loads BigGlyphsTexture, LoadDashboardTexture SmallGlyphsTexture.
void FillExtraGlyphTables();

// LoadAtlasTexture into AtlasTexture, the big font's extra glyphs into
// BigGlyphsTexture (mipmapped as the atlas), then FillAtlasRects.
void BuildAtlas();

// FillFontGlyphs and FillExtraGlyphTables: both fonts' tables.
void BuildFontGlyphs();

// The glyph of the character that starts at *text (not at its end), and
// steps *text past that character: its rectangle, with *texture the texture
// it lies in, or null for a control character, which draws nothing. A
// character outside both tables, or a malformed byte, gives the placeholder.
const AtlasRect* NextGlyph(const GlyphFont* font, const char** text, unsigned* texture);
