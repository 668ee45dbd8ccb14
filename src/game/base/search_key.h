// search_key: the form of a title or a name that searching compares, so that
// a search finds "Über" by "uber" and "ЁЛКА" by "елка". Letters of the
// game's languages (English, German, French, Spanish, Portuguese, Russian)
// fold to lower case without their accents: Latin letters with a diacritic
// to their base letter (ß to "ss", æ to "ae", œ to "oe", þ to "th"), Cyrillic capitals
// to small letters and ё to е. Any other character is kept as it is; a
// malformed byte becomes U+FFFD.
//   SearchKey(text)   the folded form of a UTF-8 text
#pragma once

#include <string>

std::string SearchKey(const std::string& text);
