// level_id: the name a level has on the level hub, from its content: the
// first 80 bits of the SHA-256 of its canonical text (the level as the game
// writes it: title line, width, height, rows) in 16 characters of RFC 4648's
// base32 alphabet in lower case. The hub names levels with the same code, so
// a shipped level or one played from the hub is known by it.
//   LevelIdChars, LevelId            16 characters and a terminator
//   LevelIdOfText(text, n, out)      the id of a canonical text
//   WorldLevelText(title, out)       the canonical text of the level in the world's grid
//   WorldLevelId(title, out)         the id of the level in the world's grid
//   IsLevelIdText(text)              16 characters of the id's alphabet
#pragma once

#include <cstddef>
#include <string>

const int LevelIdChars = 16;
typedef char LevelId[LevelIdChars + 1];

void LevelIdOfText(const char* text, size_t n, LevelId out);

// The grid as WriteLevelStream writes it under title; false (out empty) when
// the text cannot be made.
bool WorldLevelText(const char* title, std::string* out);
bool WorldLevelId(const char* title, LevelId out);

bool IsLevelIdText(const char* text);
