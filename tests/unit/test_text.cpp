// UTF-8 walking at its edges, and cutting text to a width by whole characters.
#include <gtest/gtest.h>

#include <string.h>

#include "game/base/utf8.h"
#include "render/draw.h"
#include "render/text.h"

TEST(Text, DecodesWellFormedAndMarksMalformedSequences)
{
  const struct { const char* text; int bytes; unsigned code; } cases[] = {
    { "\x7F", 1, 0x7F }, { "\xC2\x80", 2, 0x80 }, { "\xEF\xBF\xBD", 3, 0xFFFD },
    { "\xF4\x8F\xBF\xBF", 4, 0x10FFFF }, { "\x80", 1, Utf8Replacement }, { "\xC0\xAF", 2, Utf8Replacement },
    { "\xED\xA0\x80", 3, Utf8Replacement }, { "\xF4\x90\x80\x80", 4, Utf8Replacement },
    { "\xF8\x88", 1, Utf8Replacement }, { "\xE2\x82", 2, Utf8Replacement }, { "\xD0" "A", 1, Utf8Replacement },
  };
  unsigned code;
  for (const auto& c : cases)
    EXPECT_TRUE(Utf8Decode(c.text, &code) == c.bytes && code == c.code) << &c - cases;
  const char* mixed = "a\xC3\xA9\xE2\x82\xAC\x80\xD0";   // a é € stray cut: 5 characters
  EXPECT_TRUE(Utf8Length(mixed) == 5 && Utf8PrefixBytes(mixed, 2) == 3 && Utf8FitBytes(mixed, 5) == 3);
  EXPECT_TRUE(Utf8LastStart(mixed) == 7 && Utf8LastStart("\xE2\x82\xAC") == 0);
  char out[Utf8MaxBytes];
  EXPECT_EQ(Utf8Encode(0x7FF, out) + Utf8Encode(0x800, out) + Utf8Encode(0x10000, out), 9);
  EXPECT_EQ(memcmp(out, "\xF0\x90\x80\x80", 4), 0);
  EXPECT_EQ(Utf8Encode(0, out) + Utf8Encode(0xD800, out) + Utf8Encode(0x110000, out), 0);
}

TEST(Text, FitToWidthCountsCharactersAndCutsWholeOnes)
{
  BuildFontGlyphs();
  const float advance = TextAdvance(1);
  char text[16] = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";   // six é
  FitTextToWidth(text, 6 * advance + 0.01f, 1);   // fits whole: kept
  FitTextToWidth(text, 5 * advance + 0.01f, 1);
  EXPECT_STREQ(text, "\xC3\xA9\xC3\xA9...");
  FitTextToWidth(text, 1e30f, 1);   // more cells than an int counts
  FitTextToWidth(text, 2 * advance + 0.01f, 1);
  EXPECT_STREQ(text, "..");
}
