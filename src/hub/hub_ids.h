// hub_ids: the names the hub gives things. A level's id comes from its
// content: the first 80 bits of the SHA-256 of its canonical text, written
// in 16 letters and digits of RFC 4648's base32 alphabet in lower case, so
// the same level published twice is one level. Tokens are kept only as the
// hex SHA-256 of their text.
//   LevelIdLength              letters of a level id
//   LevelIdOf(text)            the id of a canonical level text
//   IsLevelId(text)            true for 16 characters of the id alphabet
//   TokenHash(token)           64 hex digits
#pragma once

#include <string>

const int LevelIdLength = 16;

std::string LevelIdOf(const std::string& canonicalLevel);
bool IsLevelId(const std::string& text);
std::string TokenHash(const std::string& token);
