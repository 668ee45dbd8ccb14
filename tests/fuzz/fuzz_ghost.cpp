// Feeds arbitrary bytes to the ghost reader. It accepts exactly the files the
// writer makes: when it accepts, writing the path back gives the same bytes
// (a version 1 file comes back as the current version, 4 bytes longer a
// frame, never on the tether); when it refuses, the path is left empty.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "game/ghost.h"
#include "fuzz_check.h"

static GhostPath Read;
static unsigned char Written[GhostFileMaxBytes];

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FILE* f = size ? fmemopen((void*)data, size, "rb") : fopen("/dev/null", "rb");
  if (!f)
    return 0;
  Read.frameCount = -1;
  bool ok = ReadGhostStream(f, &Read);
  fclose(f);
  CHECK(ok ? Read.frameCount >= 1 && Read.frameCount <= MaxGhostFrames : Read.frameCount == 0);
  if (!ok)
    return 0;
  size_t written = EncodeGhost(&Read, Written);
  if (data[4] == GhostVersionUntethered) {
    CHECK(written == size + (size_t)(GhostFrameBytes - GhostUntetheredFrameBytes) * Read.frameCount);
    for (int i = 0; i < Read.frameCount; i++)
      CHECK(Read.frames[i].anchorX == GhostNoAnchor && Read.frames[i].anchorY == GhostNoAnchor);
    return 0;
  }
  CHECK(written == size && memcmp(Written, data, size) == 0);
  return 0;
}
