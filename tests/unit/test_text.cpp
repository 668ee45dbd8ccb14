// UTF-8 walking at its edges, the glyph table's ends and gaps, and cutting
// text to a width by characters.
#include <gtest/gtest.h>

#include <string.h>

#include "game/utf8.h"
#include "render/draw.h"
#include "render/overlay.h"
#include "render/text.h"

TEST(Text, DecodesWellFormedAndMarksEveryMalformedByte)
{
  const struct {
    const char* text;
    int bytes;
    unsigned code;
  } cases[] = {
    { "\x7F", 1, 0x7F }, { "\xC2\x80", 2, 0x80 }, { "\xDF\xBF", 2, 0x7FF },
    { "\xE0\xA0\x80", 3, 0x800 }, { "\xEF\xBF\xBD", 3, 0xFFFD }, { "\xF4\x8F\xBF\xBF", 4, 0x10FFFF },
    { "\x80", 1, Utf8Replacement },              // stray continuation
    { "\xC0\xAF", 2, Utf8Replacement },          // overlong '/'
    { "\xE0\x9F\xBF", 3, Utf8Replacement },      // overlong U+07FF
    { "\xED\xA0\x80", 3, Utf8Replacement },      // surrogate
    { "\xF4\x90\x80\x80", 4, Utf8Replacement },  // past U+10FFFF
    { "\xF8\x88\x80\x80\x80", 1, Utf8Replacement },
    { "\xE2\x82", 2, Utf8Replacement },          // cut at the end of the string
    { "\xD0" "A", 1, Utf8Replacement },          // cut by a plain character
  };
  for (const auto& c : cases) {
    unsigned code = 0;
    EXPECT_EQ(Utf8Decode(c.text, &code), c.bytes) << c.text;
    EXPECT_EQ(code, c.code) << c.text;
  }
  // Each malformed byte is a character of its own; cuts land on whole characters.
  const char* mixed = "a\xC3\xA9\xE2\x82\xAC\x80\xD0";   // a é € stray cut
  EXPECT_EQ(Utf8Length(mixed), 5);
  EXPECT_EQ(Utf8PrefixBytes(mixed, 2), 3);
  EXPECT_EQ(Utf8PrefixBytes(mixed, 99), 8);
  EXPECT_EQ(Utf8FitBytes(mixed, 5), 3);
  EXPECT_EQ(Utf8FitBytes(mixed, 6), 6);
  EXPECT_EQ(Utf8LastStart(mixed), 7);
  EXPECT_EQ(Utf8LastStart("\xE2\x82\xAC"), 0);
  EXPECT_EQ(Utf8LastStart(""), 0);
  char out[Utf8MaxBytes];
  for (unsigned code : { 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u, 0x10FFFFu }) {
    unsigned back = 0;
    int n = Utf8Encode(code, out);
    EXPECT_EQ(Utf8Decode(std::string(out, n).c_str(), &back), n) << code;
    EXPECT_EQ(back, code);
  }
  EXPECT_EQ(Utf8Encode(0, out) + Utf8Encode(0xD800, out) + Utf8Encode(0x110000, out), 0);
}

TEST(Text, GlyphTableEndsGapsAndTheFontsThatUseIt)
{
  for (int k = 1; k < ExtraGlyphCount; k++)
    ASSERT_LT(ExtraGlyphCodes[k - 1], ExtraGlyphCodes[k]) << k;
  EXPECT_EQ(ExtraGlyphIndex(0xA0), 0);
  EXPECT_EQ(ExtraGlyphCodes[ExtraGlyphPlaceholder], 0xFFFDu);
  EXPECT_EQ(ExtraGlyphIndex(0x42F), ExtraGlyphIndex(0x400) + 0x2F);    // Я
  for (unsigned missing : { 0x9Fu, 0x100u, 0x460u, 0xFFFEu, 0x10FFFFu })
    EXPECT_EQ(ExtraGlyphIndex(missing), ExtraGlyphPlaceholder) << missing;

  // 127 is the big font's own box; the small font takes it from the extra picture.
  BuildFontGlyphs();
  FillDashboardTables();
  const char* text = "~\x7F\xD0\xAF\n\xC4\x80";
  const AtlasRect* big[] = { &FontGlyphs[126 - 32], &FontGlyphs[127 - 32],
                             &BigExtraGlyphs[ExtraGlyphIndex(0x42F)], nullptr,
                             &BigExtraGlyphs[ExtraGlyphPlaceholder] };
  const AtlasRect* small[] = { &DashGlyphs[126 - 32], &SmallExtraGlyphs[ExtraGlyphPlaceholder],
                               &SmallExtraGlyphs[ExtraGlyphIndex(0x42F)], nullptr,
                               &SmallExtraGlyphs[ExtraGlyphPlaceholder] };
  const char* walk = text;
  for (const AtlasRect* want : big) {
    unsigned texture = 0;
    EXPECT_EQ(NextGlyph(&BigFont, &walk, &texture), want) << walk - text;
  }
  EXPECT_EQ(*walk, 0);
  walk = text;
  for (const AtlasRect* want : small) {
    unsigned texture = 0;
    EXPECT_EQ(NextGlyph(&SmallFont, &walk, &texture), want) << walk - text;
  }
  // The last cell of each picture lies inside it.
  EXPECT_LE(BigExtraGlyphs[ExtraGlyphPlaceholder].st[2], 1.0f);
  EXPECT_LE(SmallExtraGlyphs[ExtraGlyphPlaceholder].st[1], 1.0f);
}

TEST(Text, FitToWidthCountsCharactersAndCutsWholeOnes)
{
  BuildFontGlyphs();
  const float size = 1, advance = TextAdvance(size);
  char text[64];
  // Six two-byte characters fit six cells exactly: kept whole.
  strcpy(text, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
  FitTextToWidth(text, 6 * advance + 0.01f, size);
  EXPECT_EQ(strlen(text), 12u);
  EXPECT_FLOAT_EQ(TextWidth(text, size), 6 * advance);
  // Five cells: two characters and the dots, never half a character.
  FitTextToWidth(text, 5 * advance + 0.01f, size);
  EXPECT_STREQ(text, "\xC3\xA9\xC3\xA9...");
  strcpy(text, "\xD0\xAF\xD0\xAF\xD0\xAF");
  FitTextToWidth(text, 1e30f, size);   // more cells than an int counts
  EXPECT_EQ(strlen(text), 6u);
  FitTextToWidth(text, 2 * advance + 0.01f, size);
  EXPECT_STREQ(text, "..");
}
