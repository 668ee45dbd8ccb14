// The glyph walk and the two extra glyph textures.
#include "render/text.h"

#include "game/base/utf8.h"
#include "game/settings/settings.h"

unsigned BigGlyphsTexture;
unsigned SmallGlyphsTexture;
AtlasRect BigExtraGlyphs[ExtraGlyphCount];
AtlasRect SmallExtraGlyphs[ExtraGlyphCount];

const int FirstPrintable = 32;        // codes below draw nothing but take their cell
const float BigGlyphInset = 1;        // texels kept clear on each side, as the atlas font

const GlyphFont BigFont = {
  FontGlyphs, FontFirstCode, FontFirstCode + FontGlyphCount - 1, &AtlasTexture,
  BigExtraGlyphs, &BigGlyphsTexture,
};

static void FillCells(AtlasRect* table, int cell, int columns, float texW, float texH, float inset)
{
  for (int k = 0; k < ExtraGlyphCount; k++) {
    float x = (float)(cell * (k % columns)), y = (float)(cell * (k / columns));
    SetAtlasCorners(&table[k], (x + inset) / texW, (y + inset) / texH,
                    (x + cell - inset) / texW, (y + cell - inset) / texH);
  }
}

void FillExtraGlyphTables()
{
  FillCells(BigExtraGlyphs, BigGlyphsCell, BigGlyphsColumns, BigGlyphsSide, BigGlyphsSide, BigGlyphInset);
  FillCells(SmallExtraGlyphs, SmallGlyphsCell, SmallGlyphsColumns, SmallGlyphsW, SmallGlyphsH, 0);
}

const AtlasRect* NextGlyph(const GlyphFont* font, const char** text, unsigned* texture)
{
  unsigned code;
  *text += Utf8Decode(*text, &code);
  if (code < FirstPrintable)
    return nullptr;
  if ((int)code >= font->firstCode && (int)code <= font->lastCode) {
    *texture = *font->asciiTexture;
    return &font->ascii[code - font->firstCode];
  }
  *texture = *font->extraTexture;
  return &font->extra[ExtraGlyphIndex(code)];
}

void BuildAtlas()
{
  AtlasTexture = LoadAtlasTexture();
  BigGlyphsTexture = LoadMediaTexture(BigGlyphsFileName, Settings.mipmapping);
  FillAtlasRects();
}

void BuildFontGlyphs()
{
  FillFontGlyphs();
  FillExtraGlyphTables();
}
