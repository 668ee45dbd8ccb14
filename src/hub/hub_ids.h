// hub_ids: the names the hub gives things, made by the game's own code so
// that game and hub agree. A level's id comes from its content (game/files/level_id.h:
// the first 80 bits of the SHA-256 of its canonical text in base32), so the
// same level published twice is one level. Tokens are kept only as the hex
// SHA-256 of their text (game/base/sha256.h).
//   LevelIdLength              letters of a level id
//   LevelIdOf(text)            the id of a canonical level text
//   IsLevelId(text)            true for 16 characters of the id alphabet
//   TokenHash(token)           64 hex digits
#pragma once

#include <string>

#include "game/files/level_id.h"

const int LevelIdLength = LevelIdChars;

std::string LevelIdOf(const std::string& canonicalLevel);
bool IsLevelId(const std::string& text);
std::string TokenHash(const std::string& token);
