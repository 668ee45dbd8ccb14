// hub_ids: the game's level ids and SHA-256, in the strings the hub speaks.
#include "hub/hub_ids.h"

#include "game/base/sha256.h"
#include "game/files/level_id.h"

static const char HexDigits[] = "0123456789abcdef";

std::string LevelIdOf(const std::string& canonicalLevel)
{
  LevelId id;
  LevelIdOfText(canonicalLevel.data(), canonicalLevel.size(), id);
  return id;
}

bool IsLevelId(const std::string& text)
{
  return text.size() == (size_t)LevelIdLength && IsLevelIdText(text.c_str());
}

std::string TokenHash(const std::string& token)
{
  unsigned char digest[Sha256DigestBytes];
  Sha256((const unsigned char*)token.data(), token.size(), digest);
  std::string hex;
  for (unsigned char byte : digest) {
    hex += HexDigits[byte >> 4];
    hex += HexDigits[byte & 15];
  }
  return hex;
}
