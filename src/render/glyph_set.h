// glyph_set: the characters beyond ASCII that both fonts draw, in one table
// shared by the game and the art generator, and where each font's extra
// glyph picture keeps them. The set covers English, German, French, Spanish,
// Brazilian Portuguese, Polish and Russian: all of Latin-1 Supplement, the
// Latin Extended-A letters of Polish and French, basic Cyrillic and the
// typographic punctuation those languages set. Its last entry, U+FFFD, is
// the placeholder drawn for every character the fonts do not hold.
// Needs neither GL nor SDL.
#pragma once

const int ExtraGlyphCount = 226;             // entries of ExtraGlyphCodes
const int ExtraGlyphPlaceholder = ExtraGlyphCount - 1;  // the entry of U+FFFD

// Code points in ascending order; entry k is glyph k of both extra pictures.
extern const unsigned ExtraGlyphCodes[ExtraGlyphCount];

// The entry holding code, or ExtraGlyphPlaceholder when the set lacks it.
int ExtraGlyphIndex(unsigned code);

// "Media/bigglyphs.png": the big font's extra glyphs, 64-pixel cells, 16 a row.
const char* const BigGlyphsFileName = "bigglyphs.png";
const int BigGlyphsSide = 1024;             // pixels, square
const int BigGlyphsCell = 64;               // pixels of one cell, square, as in the atlas
const int BigGlyphsColumns = 16;

// "Media/smallglyphs.png": the small font's extra glyphs, 20-pixel cells, 25 a row.
const char* const SmallGlyphsFileName = "smallglyphs.png";
const int SmallGlyphsW = 512;               // pixels
const int SmallGlyphsH = 256;
const int SmallGlyphsCell = 20;             // pixels of one cell, square, as in the dashboard
const int SmallGlyphsColumns = 25;
