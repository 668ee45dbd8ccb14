// Search keys: a capital and its small letter fold alike, Latin letters of
// the game's languages lose their accents, and folding twice changes nothing.
#include <gtest/gtest.h>

#include <string>

#include "game/base/search_key.h"
#include "game/base/utf8.h"

static std::string Utf8(unsigned code)
{
  char bytes[Utf8MaxBytes];
  return std::string(bytes, Utf8Encode(code, bytes));
}

TEST(SearchKey, CasesAndAccentsFoldAlike)
{
  // Latin-1 capitals and their small letters (0x20 apart), but × and ÷; Cyrillic А..Я and Ѐ..Џ.
  for (unsigned upper = 0xC0; upper <= 0xDE; upper++) {
    if (upper != 0xD7) {
      EXPECT_EQ(SearchKey(Utf8(upper)), SearchKey(Utf8(upper + 0x20))) << std::hex << upper;
    }
  }
  for (unsigned upper = 0x400; upper <= 0x42F; upper++)
    EXPECT_EQ(SearchKey(Utf8(upper)), SearchKey(Utf8(upper + (upper < 0x410 ? 0x50 : 0x20)))) << std::hex << upper;
  // Every letter with an accent from À to ž folds to plain ASCII letters, and a key is its own key.
  for (unsigned code = 0xC0; code <= 0x17E; code++) {
    std::string key = SearchKey(Utf8(code));
    if (code != 0xD7 && code != 0xF7 && code != 0x138 && code != 0x14A && code != 0x14B) {   // ×, ÷, ĸ, Ŋ, ŋ
      for (char c : key) {
        EXPECT_TRUE(c >= 'a' && c <= 'z') << std::hex << code;
      }
    }
    EXPECT_EQ(SearchKey(key), key);
  }
  EXPECT_EQ(SearchKey("Über ÉLAN Ёлка ß"), "uber elan елка ss");
}
