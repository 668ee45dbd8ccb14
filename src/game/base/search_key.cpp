// The search key: lower case without accents, one table for Latin-1 and
// Latin Extended-A, and the Cyrillic alphabet's cases by arithmetic.
#include "game/base/search_key.h"

#include "game/base/utf8.h"

const unsigned Latin1First = 0xC0;        // À, the first letter folded by the table
const unsigned CyrillicCapitalA = 0x410;  // А .. Я
const unsigned CyrillicCapitalYa = 0x42F;
const unsigned CyrillicSmallA = 0x430;
const unsigned CyrillicIoFirst = 0x400;   // Ѐ .. Џ: capitals whose small forms are 0x450 on
const unsigned CyrillicIoLast = 0x40F;
const unsigned CyrillicIoSmall = 0x451;   // ё (Ё folds to it first)
const unsigned CyrillicIe = 0x435;                                    // е
const unsigned CyrillicIoShift = 0x50;

// U+00C0 .. U+017F folded, one text per code point ("" keeps the character).
static const char* const LatinFolds[] = {
  // U+00C0: À Á Â Ã Ä Å Æ Ç È É Ê Ë Ì Í Î Ï
  "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
  // U+00D0: Ð Ñ Ò Ó Ô Õ Ö × Ø Ù Ú Û Ü Ý Þ ß
  "d", "n", "o", "o", "o", "o", "o", "", "o", "u", "u", "u", "u", "y", "th", "ss",
  // U+00E0: à á â ã ä å æ ç è é ê ë ì í î ï
  "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
  // U+00F0: ð ñ ò ó ô õ ö ÷ ø ù ú û ü ý þ ÿ
  "d", "n", "o", "o", "o", "o", "o", "", "o", "u", "u", "u", "u", "y", "th", "y",
  // U+0100: Ā ā Ă ă Ą ą Ć ć Ĉ ĉ Ċ ċ Č č Ď ď
  "a", "a", "a", "a", "a", "a", "c", "c", "c", "c", "c", "c", "c", "c", "d", "d",
  // U+0110: Đ đ Ē ē Ĕ ĕ Ė ė Ę ę Ě ě Ĝ ĝ Ğ ğ
  "d", "d", "e", "e", "e", "e", "e", "e", "e", "e", "e", "e", "g", "g", "g", "g",
  // U+0120: Ġ ġ Ģ ģ Ĥ ĥ Ħ ħ Ĩ ĩ Ī ī Ĭ ĭ Į į
  "g", "g", "g", "g", "h", "h", "h", "h", "i", "i", "i", "i", "i", "i", "i", "i",
  // U+0130: İ ı Ĳ ĳ Ĵ ĵ Ķ ķ ĸ Ĺ ĺ Ļ ļ Ľ ľ Ŀ
  "i", "i", "ij", "ij", "j", "j", "k", "k", "", "l", "l", "l", "l", "l", "l", "l",
  // U+0140: ŀ Ł ł Ń ń Ņ ņ Ň ň ŉ Ŋ ŋ Ō ō Ŏ ŏ
  "l", "l", "l", "n", "n", "n", "n", "n", "n", "n", "", "", "o", "o", "o", "o",
  // U+0150: Ő ő Œ œ Ŕ ŕ Ŗ ŗ Ř ř Ś ś Ŝ ŝ Ş ş
  "o", "o", "oe", "oe", "r", "r", "r", "r", "r", "r", "s", "s", "s", "s", "s", "s",
  // U+0160: Š š Ţ ţ Ť ť Ŧ ŧ Ũ ũ Ū ū Ŭ ŭ Ů ů
  "s", "s", "t", "t", "t", "t", "t", "t", "u", "u", "u", "u", "u", "u", "u", "u",
  // U+0170: Ű ű Ų ų Ŵ ŵ Ŷ ŷ Ÿ Ź ź Ż ż Ž ž ſ
  "u", "u", "u", "u", "w", "w", "y", "y", "y", "z", "z", "z", "z", "z", "z", "s",
};
const unsigned LatinFoldCount = sizeof LatinFolds / sizeof LatinFolds[0];
static_assert(LatinFoldCount == 0x180 - Latin1First, "one entry per code point from U+00C0 to U+017F");

std::string SearchKey(const std::string& text)
{
  std::string key;
  key.reserve(text.size());
  const char* s = text.c_str();
  while (*s) {
    unsigned code;
    s += Utf8Decode(s, &code);
    if (code >= 'A' && code <= 'Z') {
      key += (char)(code - 'A' + 'a');
      continue;
    }
    if (code >= Latin1First && code - Latin1First < LatinFoldCount && LatinFolds[code - Latin1First][0]) {
      key += LatinFolds[code - Latin1First];
      continue;
    }
    if (code >= CyrillicCapitalA && code <= CyrillicCapitalYa)
      code += CyrillicSmallA - CyrillicCapitalA;
    else if (code >= CyrillicIoFirst && code <= CyrillicIoLast)
      code += CyrillicIoShift;
    if (code == CyrillicIoSmall)
      code = CyrillicIe;
    char bytes[Utf8MaxBytes];
    key.append(bytes, Utf8Encode(code, bytes));
  }
  return key;
}
