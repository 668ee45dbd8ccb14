// Nothing is allocated during play: thousands of frames of UpdateGame with
// pickups, a full item table and the tether in use, under a counting heap.
//
// The replaced operator new counts every C++ allocation in the whole test
// program, but only while CountingAllocations is set. Outside sanitizer
// builds malloc, calloc and realloc are replaced as well, forwarding to
// glibc's own entry points, so C allocations made during play are caught too.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "app/host.h"
#include "app/input.h"
#include "app/video.h"
#include "game/update.h"
#include "game/world.h"

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

// A 60 x 40 walled level: a ceiling to swing from, rows of pickups and the
// table topped up with long-lived particles, so the trail and bursts hit the limit.
static void BuildBusyLevel()
{
  memset(MapGrid, 0, sizeof(MapGrid));
  LevelWidth = 60;
  LevelHeight = 40;
  for (int x = 0; x < 60; x++) {
    SetCell(x, 0, maptype_blocknormal);
    SetCell(x, 39, maptype_blocknormal);
  }
  for (int y = 0; y < 40; y++) {
    SetCell(0, y, maptype_blocknormal);
    SetCell(59, y, maptype_blocknormal);
  }
  ItemCount = 0;
  for (int x = 2; x < 58; x += 2) {
    AppendItem(itemtype_extratime, x + 0.5f, 15.5f);
    AppendItem(itemtype_extratime, x + 0.5f, 38.5f);
  }
  while (ItemCount < MaxItems - 10) {
    LevelItem* p = AppendItem(itemtype_particle, 30, 20);
    p->life = 1e6f;
  }
  memset(&Ball, 0, sizeof(Ball));
  Ball.x = 30.5f;
  Ball.y = 15.5f;
  Ball.anchorX = Ball.anchorY = -10;
  memset(&InputState, 0, sizeof(InputState));
  ScreenWidth = 800;
  ScreenHeight = 600;
  AspectRatio = ScreenWidth / ScreenHeight;
  Camera.camX = Ball.x;
  Camera.camY = Ball.y;
  Camera.viewHeight = PlayViewHeight;
  TrailTimer = 0;
  CurrentLevel = 1;
  GameState = gamestate_playing;
}

TEST(Alloc, PlayAllocatesNothing)
{
  BuildBusyLevel();
  int attachedFrames = 0, pickupsTaken = 0, fullFrames = 0, burstFrames = 0;
  float timerBefore = 0;

  // The counter itself must see an allocation, or a zero below proves nothing.
  CountingAllocations = true;
  AllocationCount = 0;
  static void* volatile probe;
  static int* volatile boxed;
  probe = malloc(16);
  boxed = new int(3);
  CountingAllocations = false;
  free(probe);
  delete boxed;
  ASSERT_GE(AllocationCount, 1);

  CountingAllocations = true;
  AllocationCount = 0;
  for (int frame = 0; frame < 4000; frame++) {
    InputState.MouseX = 200 + (frame / 7) % 400;
    InputState.MouseY = 0;
    InputState.MouseButtonState[ButtonLeft] = (frame / 150) % 3 == 2 ? InputUp : InputHeld;
    InputState.KeyState[KeyRight] = (frame / 200) % 2 ? InputHeld : InputUp;
    InputState.KeyState[KeyLeft] = (frame / 200) % 2 ? InputUp : InputHeld;
    InputState.KeyState[KeySpace] = frame % 90 < 10 ? InputHeld : InputUp;
    LevelTimer = 300;
    timerBefore = LevelTimer;
    int countBefore = ItemCount;
    UpdateGame(frame % 3 ? 1.0f : 2.0f);
    attachedFrames += Ball.attached;
    pickupsTaken += LevelTimer > timerBefore;
    fullFrames += ItemCount == MaxItems;
    burstFrames += ItemCount > countBefore + 1;
  }
  CountingAllocations = false;

  EXPECT_EQ(AllocationCount, 0);
  EXPECT_GT(attachedFrames, 1000);
  EXPECT_GT(pickupsTaken, 0);
  EXPECT_GE(ItemCount, MaxItems - 30);
  // The table was full while the trail and bursts kept asking for more, and
  // bursts were also appended whole while it had room.
  EXPECT_GT(fullFrames, 100);
  EXPECT_GT(burstFrames, 0);
}
