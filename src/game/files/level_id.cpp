// Level ids: SHA-256 of the canonical text, written in base32.
#include "game/files/level_id.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/base/sha256.h"
#include "game/files/level_files.h"

static const char Base32Letters[] = "abcdefghijklmnopqrstuvwxyz234567";
static const int BitsPerLetter = 5;
static const int BitsPerByte = 8;

void LevelIdOfText(const char* text, size_t n, LevelId out)
{
  unsigned char digest[Sha256DigestBytes];
  Sha256((const unsigned char*)text, n, digest);
  for (int letter = 0; letter < LevelIdChars; letter++) {
    int value = 0;
    for (int b = 0; b < BitsPerLetter; b++) {
      int bit = letter * BitsPerLetter + b;
      value = (value << 1) | ((digest[bit / BitsPerByte] >> (BitsPerByte - 1 - bit % BitsPerByte)) & 1);
    }
    out[letter] = Base32Letters[value];
  }
  out[LevelIdChars] = 0;
}

bool WorldLevelText(const char* title, std::string* out)
{
  out->clear();
  char* bytes = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&bytes, &size);
  if (!f)
    return false;
  WriteLevelStream(f, title);
  bool written = fclose(f) == 0;
  if (written)
    out->assign(bytes, size);
  free(bytes);
  return written;
}

bool WorldLevelId(const char* title, LevelId out)
{
  out[0] = 0;
  std::string text;
  if (!WorldLevelText(title, &text))
    return false;
  LevelIdOfText(text.data(), text.size(), out);
  return true;
}

bool IsLevelIdText(const char* text)
{
  int n = 0;
  for (; text[n]; n++)
    if (n >= LevelIdChars || !strchr(Base32Letters, text[n]))
      return false;
  return n == LevelIdChars;
}
