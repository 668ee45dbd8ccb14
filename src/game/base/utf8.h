// utf8: the game's strings are UTF-8. These operations walk them one
// character (code point) at a time for everything that measures, cuts or
// edits text, and never read past the terminating 0 byte. A malformed
// sequence (a lead byte with the continuation bytes that follow it, when
// cut short, overlong, a surrogate or past U+10FFFF) or a byte that starts
// none counts as one character of its own, decoded as Utf8Replacement, so
// text with broken bytes still has a length and every cut lands on a
// character's first byte.
#pragma once

const unsigned Utf8Replacement = 0xFFFD; // what a malformed byte decodes to
const int Utf8MaxBytes = 4;              // longest sequence of one character

// The character starting at s (s[0] != 0): returns its bytes (1..4) and
// stores its code point in *code, or Utf8Replacement for a malformed one.
int Utf8Decode(const char* s, unsigned* code);

// Characters in the 0-terminated s; 0 for null.
int Utf8Length(const char* s);

// Bytes of the first `chars` characters of s (all of it when it is shorter).
int Utf8PrefixBytes(const char* s, int chars);

// Bytes of the longest run of whole characters from the start of s that
// takes at most maxBytes bytes.
int Utf8FitBytes(const char* s, int maxBytes);

// Byte offset at which the last character of s begins; 0 for an empty s.
int Utf8LastStart(const char* s);

// Writes the code point's UTF-8 form into out (no terminator); returns its
// bytes, or 0 for 0, a surrogate or a code past U+10FFFF.
int Utf8Encode(unsigned code, char* out);
