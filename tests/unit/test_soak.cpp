// A long run of play: 100,000 frames of UpdateGame in a walled level with all
// four gravity cells, ghost and no-swing blocks and pickups, the tether shot
// and released over and over, the ghost and the replay recording until their
// room is full. The first frames leave room in the item table
// so bursts and trail are appended; after them the table is kept at its limit.
// Nothing may be allocated during play, the world must stay sane, and the
// process must not grow after the warm-up. In the sanitizer build a report
// ends the test.
//
// The replaced operator new counts every C++ allocation in the whole test
// program, but only while CountingAllocations is set. Outside sanitizer
// builds malloc, calloc and realloc are replaced as well, forwarding to
// glibc's own entry points, so C allocations made during play are caught too.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "game/base/screen.h"
#include "game/files/ghost.h"
#include "game/files/replay_record.h"
#include "game/run/rules.h"
#include "game/run/update.h"
#include "play_setup.h"

static bool CountingAllocations;
static long AllocationCount;

static void NoteAllocation()
{
  if (CountingAllocations)
    AllocationCount++;
}

void* operator new(std::size_t size)
{
  NoteAllocation();
  void* p = malloc(size ? size : 1);
  if (!p)
    throw std::bad_alloc();
  return p;
}

void* operator new[](std::size_t size) { return operator new(size); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
  NoteAllocation();
  return malloc(size ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { free(p); }
void operator delete[](void* p) noexcept { free(p); }
void operator delete(void* p, std::size_t) noexcept { free(p); }
void operator delete[](void* p, std::size_t) noexcept { free(p); }

#if defined(__SANITIZE_ADDRESS__)
#define TETHERORB_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TETHERORB_SANITIZED 1
#endif
#endif

#if !defined(TETHERORB_SANITIZED) && defined(__GLIBC__)
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void __libc_free(void* p);

void* malloc(size_t size)
{
  NoteAllocation();
  return __libc_malloc(size);
}

void* calloc(size_t count, size_t size)
{
  NoteAllocation();
  return __libc_calloc(count, size);
}

void* realloc(void* p, size_t size)
{
  NoteAllocation();
  return __libc_realloc(p, size);
}

void free(void* p) { __libc_free(p); }
}
#endif

namespace {

const int SoakFrames = 100000;
const int WarmUpFrames = 10000;        // the table has room during these
const int SoakWidth = 80;
const int SoakHeight = 50;
const float StartX = 40.5f, StartY = 20.5f;
const int LongLivedParticles = MaxItems - 200;  // the rest churns at the table's end
const float LongLife = 1e9f;
const long AllowedGrowthKiB = 1024;   // resident memory, after the warm-up

long ResidentKiB()
{
  FILE* f = fopen("/proc/self/status", "r");
  if (!f)
    return -1;
  char line[256];
  long value = -1;
  while (fgets(line, sizeof(line), f))
    if (sscanf(line, "VmRSS: %ld", &value) == 1)
      break;
  fclose(f);
  return value;
}

void BuildSoakLevel()
{
  ResetPlay(SoakWidth, SoakHeight, StartX, StartY);
  WallIn(maptype_blocknoswing);
  for (int x = 0; x < SoakWidth; x++) {
    SetCell(x, 0, maptype_blocknormal);
    SetCell(x, SoakHeight - 1, maptype_blocknormal);
  }
  // Stripes of gravity cells of every direction across the level, so the
  // ball is thrown about all of it; scattered ghost, plain and no-swing blocks.
  const int stripes[][2] = {{10, maptype_gravityup}, {20, maptype_gravitydown},
                            {30, maptype_gravityleft}, {45, maptype_gravityright},
                            {55, maptype_gravityup}, {68, maptype_gravitydown}};
  for (const auto& stripe : stripes)
    for (int y = 1; y < SoakHeight - 1; y++)
      SetCell(stripe[0], y, stripe[1]);
  for (int x = 5; x < SoakWidth - 5; x += 9) {
    SetCell(x + 1, 8, maptype_blockghost);
    SetCell(x + 3, 18, maptype_blocknormal);
    SetCell(x + 5, 42, maptype_blocknoswing);
  }
  for (int x = 3; x < SoakWidth - 3; x += 4)
    AppendItem(itemtype_extratime, x + 0.5f, 20.5f);
  AppendItem(itemtype_extratime, StartX, StartY);
  while (ItemCount < LongLivedParticles) {
    LevelItem* p = AppendItem(itemtype_particle, 40, 20);
    p->life = LongLife;
  }
}

// Deterministic input: the pointer sweeps the window, the tether is held for
// a while and let go, steering and jumps change every few hundred frames.
void SetInput(int frame, unsigned* seed)
{
  *seed = *seed * 1103515245u + 12345u;
  unsigned r = *seed >> 16;
  if (frame % 40 == 0) {
    InputState.MouseX = (int)(r % 800);
    InputState.MouseY = (int)((r / 800) % 600);
  }
  int phase = (frame / 120) % 5;
  InputState.MouseButtonState[ButtonLeft] = phase == 4 ? InputUp : InputHeld;
  InputState.KeyState[KeyLeft] = (frame / 300) % 3 == 0 ? InputHeld : InputUp;
  InputState.KeyState[KeyRight] = (frame / 300) % 3 == 1 ? InputHeld : InputUp;
  InputState.KeyState[KeyUp] = (frame / 500) % 4 == 1 ? InputHeld : InputUp;
  InputState.KeyState[KeyDown] = (frame / 500) % 4 == 3 ? InputHeld : InputUp;
  InputState.KeyState[KeySpace] = frame % 75 < 8 ? InputHeld : InputUp;
}

// Ball, camera and items finite, the table within its bounds.
bool WorldIsSane()
{
  if (!std::isfinite(Ball.x) || !std::isfinite(Ball.y) || !std::isfinite(Ball.vx) ||
      !std::isfinite(Ball.vy) || !std::isfinite(Camera.camX) || !std::isfinite(Camera.camY))
    return false;
  if (ItemCount < 0 || ItemCount > MaxItems)
    return false;
  for (int i = 0; i < ItemCount; i++)
    if (!std::isfinite(ItemTable[i].x) || !std::isfinite(ItemTable[i].y))
      return false;
  return true;
}

TEST(Soak, HundredThousandFramesOfPlayAllocateNothing)
{
  // The counter itself must see an allocation, or a zero below proves nothing.
  CountingAllocations = true;
  static void* volatile probe;
  static int* volatile boxed;
  probe = malloc(16);
  boxed = new int(3);
  CountingAllocations = false;
  free(probe);
  delete boxed;
  ASSERT_GE(AllocationCount, 1);
  AllocationCount = 0;

  BuildSoakLevel();
  BeginGhostRun(0, GhostFramesFor(0));   // the ghost and the replay record into the room made here
  BeginReplayRecording(GhostFramesFor(0));
  unsigned seed = 1;
  int attachedFrames = 0, releases = 0, fullFrames = 0, gravityTurns = 0, escapes = 0;
  int pickups = 0, burstFrames = 0;
  int lastGravity = Ball.gravity;
  bool wasAttached = false;
  long residentAfterWarmUp = 0;

  for (int frame = 0; frame < SoakFrames; frame++) {
    SetInput(frame, &seed);
    LevelTimer = LevelTimeAtStart;
    if (frame >= WarmUpFrames) {
      while (ItemCount < MaxItems)
        SpawnParticle(Ball.x, Ball.y, 0.05f);
    }
    fullFrames += ItemCount == MaxItems;
    int countBefore = ItemCount;
    CountingAllocations = true;
    StepPlay(0.2f + (float)(frame % 10) * 0.2f);
    CountingAllocations = false;
    pickups += LevelTimer > LevelTimeAtStart;
    burstFrames += ItemCount > countBefore + 1;

    ASSERT_EQ(ScreenNow(), gamestate_playing) << "the run ended at frame " << frame;
    if (frame % 97 == 0) {
      ASSERT_TRUE(WorldIsSane()) << "at frame " << frame << ": ball " << Ball.x << ", " << Ball.y;
    }
    // A fast swing can carry the ball through a wall one cell thick; outside
    // the level it would only fall, so it starts again in the middle.
    if (Ball.x < 0 || Ball.x > SoakWidth || Ball.y < 0 || Ball.y > SoakHeight) {
      escapes++;
      Ball.x = StartX;
      Ball.y = StartY;
      Ball.vx = Ball.vy = 0;
    }
    attachedFrames += Ball.attached;
    releases += wasAttached && !Ball.attached;
    wasAttached = Ball.attached;
    gravityTurns += Ball.gravity != lastGravity;
    lastGravity = Ball.gravity;
    if (frame + 1 == WarmUpFrames)
      residentAfterWarmUp = ResidentKiB();
  }

  EXPECT_EQ(AllocationCount, 0);
  EXPECT_EQ(GhostTake.frameCount, GhostFramesFor(0));   // both recorded until their room was full
  EXPECT_FALSE(ReplayRecording);
  ASSERT_GT(residentAfterWarmUp, 0);
  EXPECT_LE(ResidentKiB() - residentAfterWarmUp, AllowedGrowthKiB);
  // The run did what it claims: tether, gravity turns, pickups with their
  // bursts appended whole, then a table at its limit.
  EXPECT_GT(attachedFrames, SoakFrames / 4);
  EXPECT_GT(releases, 100);
  EXPECT_GT(gravityTurns, 50);
  EXPECT_GT(pickups, 0);
  EXPECT_GT(burstFrames, 0);
  EXPECT_GE(fullFrames, SoakFrames - WarmUpFrames);
  EXPECT_LT(escapes, SoakFrames / 1000) << "the ball left the level too often to count as play";
}

}  // namespace
