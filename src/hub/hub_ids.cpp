// hub_ids: SHA-256 from libcrypto, written as base32 or hex.
#include "hub/hub_ids.h"

#include <openssl/sha.h>

static const char Base32Letters[] = "abcdefghijklmnopqrstuvwxyz234567";
static const char HexDigits[] = "0123456789abcdef";
static const int BitsPerLetter = 5;

static void Sha256(const std::string& text, unsigned char digest[SHA256_DIGEST_LENGTH])
{
  SHA256((const unsigned char*)text.data(), text.size(), digest);
}

std::string LevelIdOf(const std::string& canonicalLevel)
{
  unsigned char digest[SHA256_DIGEST_LENGTH];
  Sha256(canonicalLevel, digest);
  std::string id;
  for (int letter = 0; letter < LevelIdLength; letter++) {
    int value = 0;
    for (int b = 0; b < BitsPerLetter; b++) {
      int bit = letter * BitsPerLetter + b;
      value = (value << 1) | ((digest[bit / 8] >> (7 - bit % 8)) & 1);
    }
    id += Base32Letters[value];
  }
  return id;
}

bool IsLevelId(const std::string& text)
{
  if ((int)text.size() != LevelIdLength)
    return false;
  for (char c : text)
    if (!((c >= 'a' && c <= 'z') || (c >= '2' && c <= '7')))
      return false;
  return true;
}

std::string TokenHash(const std::string& token)
{
  unsigned char digest[SHA256_DIGEST_LENGTH];
  Sha256(token, digest);
  std::string hex;
  for (unsigned char byte : digest) {
    hex += HexDigits[byte >> 4];
    hex += HexDigits[byte & 15];
  }
  return hex;
}
