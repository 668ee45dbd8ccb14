// PNG: signature, IHDR, one IDAT of a zlib stream, IEND; each chunk with its CRC-32.
#include "game/base/png_write.h"

#include <cstddef>
#include <cstdint>
#include <vector>

static const int BytesPerPixel = 4;
static const int MinMatch = 3, MaxMatch = 258;     // deflate's bounds on a match
static const int MaxDistance = 32768;              // deflate's window
static const unsigned Adler32Modulus = 65521;

// The length codes 257.. and the distance codes 0.. with their extra bits (RFC 1951, 3.2.5).
static const int LengthBase[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67, 83,
                                 99, 115, 131, 163, 195, 227, 258};
static const int LengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
static const int DistanceBase[] = {1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385, 513, 769,
                                   1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
static const int DistanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11,
                                    12, 12, 13, 13};
const int LengthCodes = sizeof LengthBase / sizeof LengthBase[0];
const int DistanceCodes = sizeof DistanceBase / sizeof DistanceBase[0];
static_assert(sizeof LengthExtra / sizeof LengthExtra[0] == LengthCodes, "one entry per length code");
static_assert(sizeof DistanceExtra / sizeof DistanceExtra[0] == DistanceCodes, "one entry per distance code");

struct BitWriter {
  std::string* out;
  uint32_t bits;
  int count;
};

// value's low n bits, least significant first (deflate's order for everything but Huffman codes).
static void PutBits(BitWriter* w, uint32_t value, int n)
{
  w->bits |= value << w->count;
  w->count += n;
  while (w->count >= 8) {
    *w->out += (char)(w->bits & 0xFF);
    w->bits >>= 8;
    w->count -= 8;
  }
}

// A Huffman code of n bits, most significant first.
static void PutCode(BitWriter* w, uint32_t code, int n)
{
  uint32_t reversed = 0;
  for (int i = 0; i < n; i++)
    reversed |= ((code >> i) & 1) << (n - 1 - i);
  PutBits(w, reversed, n);
}

// A literal byte or length symbol (256..287) in the fixed code.
static void PutSymbol(BitWriter* w, int symbol)
{
  if (symbol < 144)
    PutCode(w, 0x30 + symbol, 8);
  else if (symbol < 256)
    PutCode(w, 0x190 + symbol - 144, 9);
  else if (symbol < 280)
    PutCode(w, symbol - 256, 7);
  else
    PutCode(w, 0xC0 + symbol - 280, 8);
}

static void PutMatch(BitWriter* w, int length, int distance)
{
  int l = LengthCodes - 1;
  while (LengthBase[l] > length)
    l--;
  PutSymbol(w, 257 + l);
  PutBits(w, length - LengthBase[l], LengthExtra[l]);
  int d = DistanceCodes - 1;
  while (DistanceBase[d] > distance)
    d--;
  PutCode(w, d, 5);
  PutBits(w, distance - DistanceBase[d], DistanceExtra[d]);
}

static int MatchLength(const std::vector<unsigned char>& data, size_t at, int distance)
{
  if (distance <= 0 || (size_t)distance > at || distance > MaxDistance)
    return 0;
  int n = 0;
  while (n < MaxMatch && at + n < data.size() && data[at + n] == data[at + n - distance])
    n++;
  return n;
}

// One final block in the fixed code, matching against the pixel before and the row above.
static void Deflate(const std::vector<unsigned char>& data, int rowBytes, std::string* out)
{
  BitWriter w{out, 0, 0};
  PutBits(&w, 1, 1);   // the last block
  PutBits(&w, 1, 2);   // fixed Huffman codes
  size_t i = 0;
  while (i < data.size()) {
    int pixel = MatchLength(data, i, BytesPerPixel), row = MatchLength(data, i, rowBytes);
    int length = pixel >= row ? pixel : row, distance = pixel >= row ? BytesPerPixel : rowBytes;
    if (length >= MinMatch) {
      PutMatch(&w, length, distance);
      i += length;
    } else {
      PutSymbol(&w, data[i++]);
    }
  }
  PutSymbol(&w, 256);   // the end of the block
  PutBits(&w, 0, 7);    // out to a whole byte
}

struct CrcTable {
  uint32_t entry[256];
};

static CrcTable MakeCrcTable()
{
  CrcTable t;
  for (uint32_t k = 0; k < 256; k++) {
    uint32_t c = k;
    for (int b = 0; b < 8; b++)
      c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t.entry[k] = c;
  }
  return t;
}

static uint32_t Crc32(const char* bytes, size_t n)
{
  static const CrcTable table = MakeCrcTable();   // made once, before any thread reads it
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; i++)
    c = table.entry[(c ^ (unsigned char)bytes[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

static void PutBigEndian(std::string* out, uint32_t v)
{
  for (int shift = 24; shift >= 0; shift -= 8)
    *out += (char)((v >> shift) & 0xFF);
}

static void PutChunk(std::string* png, const char* type, const std::string& data)
{
  PutBigEndian(png, (uint32_t)data.size());
  std::string typed = std::string(type, 4) + data;
  *png += typed;
  PutBigEndian(png, Crc32(typed.data(), typed.size()));
}

bool EncodePng(const unsigned char* rgba, int w, int h, std::string* png)
{
  if (w <= 0 || h <= 0)
    return false;
  // Each row behind its filter byte, 0: no filter.
  size_t rowBytes = (size_t)w * BytesPerPixel + 1;
  std::vector<unsigned char> rows(rowBytes * h);
  for (int y = 0; y < h; y++) {
    rows[y * rowBytes] = 0;
    for (size_t x = 0; x + 1 < rowBytes; x++)
      rows[y * rowBytes + 1 + x] = rgba[(size_t)y * (rowBytes - 1) + x];
  }
  unsigned a = 1, b = 0;
  for (unsigned char c : rows) {
    a = (a + c) % Adler32Modulus;
    b = (b + a) % Adler32Modulus;
  }
  std::string header, zlib = "\x78\x01";   // deflate, 32 KiB window, no dictionary
  Deflate(rows, (int)rowBytes, &zlib);
  PutBigEndian(&zlib, b << 16 | a);
  PutBigEndian(&header, (uint32_t)w);
  PutBigEndian(&header, (uint32_t)h);
  header += std::string("\x08\x06\x00\x00\x00", 5);   // 8 bits, RGBA, deflate, no filter kinds, no interlace
  *png = "\x89PNG\r\n\x1a\n";
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", zlib);
  PutChunk(png, "IEND", "");
  return true;
}
