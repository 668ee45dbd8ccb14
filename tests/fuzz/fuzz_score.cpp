// Feeds arbitrary bytes to the best-score reader: the value must be the first
// bytes read as a little-endian 32-bit integer, missing high bytes zero, and
// the reader must stop after 4 bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz_check.h"
#include "game/files/level_files.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FILE* f = size ? fmemopen((void*)data, size, "rb") : fopen("/dev/null", "rb");
  if (!f)
    return 0;
  int score = ReadScoreStream(f);
  long consumed = ftell(f);
  fclose(f);

  uint32_t expected = 0;
  size_t count = size < 4 ? size : 4;
  for (size_t i = 0; i < count; i++)
    expected += (uint32_t)data[i] * (1u << (8 * i));
  CHECK((uint32_t)score == expected);
  CHECK(consumed == (long)count);
  return 0;
}
