// Feeds arbitrary bytes to the ghost reader. It accepts exactly the files the
// writer makes: when it accepts, writing the path back gives the same bytes;
// when it refuses, the path is left empty.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "fuzz_check.h"
#include "game/files/ghost.h"

static GhostPath Read;
// GhostFileMaxBytes is not a constant expression (it counts frames from a float), so the room is made once.
static unsigned char* const Written = new unsigned char[GhostFileMaxBytes];

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FILE* f = size ? fmemopen((void*)data, size, "rb") : fopen("/dev/null", "rb");
  if (!f)
    return 0;
  Read.frameCount = -1;
  bool ok = ReadGhostStream(f, &Read);
  fclose(f);
  CHECK(ok ? Read.frameCount >= 1 && Read.frameCount <= MaxGhostFrames : Read.frameCount == 0);
  // A version 1 file is accepted too; it is written back as the current version.
  CHECK(!ok || data[4] == GhostVersionUntethered ||
        (EncodeGhost(&Read, Written) == size && memcmp(Written, data, size) == 0));
  return 0;
}
