// UTF-8 walking by characters, strict about the forms it accepts.
#include "game/base/utf8.h"

const unsigned MaxCodePoint = 0x10FFFF;
const unsigned SurrogateFirst = 0xD800, SurrogateLast = 0xDFFF;

static bool IsContinuation(unsigned char b)
{
  return (b & 0xC0) == 0x80;
}

int Utf8Decode(const char* s, unsigned* code)
{
  const unsigned char* b = (const unsigned char*)s;
  *code = Utf8Replacement;
  int bytes;
  unsigned value, least;
  if (b[0] < 0x80) {
    *code = b[0];
    return 1;
  } else if ((b[0] & 0xE0) == 0xC0) {
    bytes = 2, value = b[0] & 0x1Fu, least = 0x80;
  } else if ((b[0] & 0xF0) == 0xE0) {
    bytes = 3, value = b[0] & 0x0Fu, least = 0x800;
  } else if ((b[0] & 0xF8) == 0xF0) {
    bytes = 4, value = b[0] & 0x07u, least = 0x10000;
  } else {
    return 1;  // a stray continuation byte or one that starts no sequence
  }
  // A 0 byte is no continuation, so the walk stops at the end of the string.
  for (int i = 1; i < bytes; i++) {
    if (!IsContinuation(b[i]))
      return i;   // cut short: the lead and what came of it are one character
    value = (value << 6) | (b[i] & 0x3Fu);
  }
  if (value < least || value > MaxCodePoint || (value >= SurrogateFirst && value <= SurrogateLast))
    return bytes;
  *code = value;
  return bytes;
}

int Utf8Length(const char* s)
{
  int n = 0;
  unsigned code;
  for (; s && *s; n++)
    s += Utf8Decode(s, &code);
  return n;
}

int Utf8PrefixBytes(const char* s, int chars)
{
  int bytes = 0;
  unsigned code;
  for (int n = 0; s && s[bytes] && n < chars; n++)
    bytes += Utf8Decode(s + bytes, &code);
  return bytes;
}

int Utf8FitBytes(const char* s, int maxBytes)
{
  int bytes = 0;
  unsigned code;
  while (s && s[bytes]) {
    int next = Utf8Decode(s + bytes, &code);
    if (bytes + next > maxBytes)
      break;
    bytes += next;
  }
  return bytes;
}

int Utf8LastStart(const char* s)
{
  int bytes = 0, last = 0;
  unsigned code;
  while (s && s[bytes]) {
    last = bytes;
    bytes += Utf8Decode(s + bytes, &code);
  }
  return last;
}

int Utf8Encode(unsigned code, char* out)
{
  unsigned char* b = (unsigned char*)out;
  if (code == 0 || code > MaxCodePoint || (code >= SurrogateFirst && code <= SurrogateLast))
    return 0;
  if (code < 0x80) {
    b[0] = (unsigned char)code;
    return 1;
  }
  if (code < 0x800) {
    b[0] = (unsigned char)(0xC0 | code >> 6);
    b[1] = (unsigned char)(0x80 | (code & 0x3F));
    return 2;
  }
  if (code < 0x10000) {
    b[0] = (unsigned char)(0xE0 | code >> 12);
    b[1] = (unsigned char)(0x80 | (code >> 6 & 0x3F));
    b[2] = (unsigned char)(0x80 | (code & 0x3F));
    return 3;
  }
  b[0] = (unsigned char)(0xF0 | code >> 18);
  b[1] = (unsigned char)(0x80 | (code >> 12 & 0x3F));
  b[2] = (unsigned char)(0x80 | (code >> 6 & 0x3F));
  b[3] = (unsigned char)(0x80 | (code & 0x3F));
  return 4;
}
