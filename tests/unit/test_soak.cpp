// A long run of play: 100,000 frames of UpdateGame in a walled level with all
// four gravity cells, ghost and no-swing blocks and pickups, the item table
// kept at its limit with particles and the tether shot and released over and
// over. In the sanitizer build a report ends the test; in every build the
// world must stay sane and the process must not grow after the first 10,000
// frames.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <malloc.h>

#include "app/host.h"
#include "app/input.h"
#include "app/video.h"
#include "game/rules.h"
#include "game/update.h"
#include "game/world.h"

namespace {

const int SoakFrames = 100000;
const int WarmUpFrames = 10000;
const int SoakWidth = 80;
const int SoakHeight = 50;
const int LongLivedParticles = MaxItems - 200;  // the rest churns at the table's end
const float LongLife = 1e9f;
const long AllowedGrowthKiB = 1024;   // resident memory, after the warm-up

long ResidentKiB(const char* field)
{
  FILE* f = fopen("/proc/self/status", "r");
  if (!f)
    return -1;
  char line[256];
  long value = -1;
  size_t len = strlen(field);
  while (fgets(line, sizeof(line), f))
    if (strncmp(line, field, len) == 0)
      value = atol(line + len + 1);
  fclose(f);
  return value;
}

void BuildSoakLevel()
{
  memset(MapGrid, 0, sizeof(MapGrid));
  LevelWidth = SoakWidth;
  LevelHeight = SoakHeight;
  for (int x = 0; x < SoakWidth; x++) {
    SetCell(x, 0, maptype_blocknormal);
    SetCell(x, SoakHeight - 1, maptype_blocknormal);
  }
  for (int y = 0; y < SoakHeight; y++) {
    SetCell(0, y, maptype_blocknoswing);
    SetCell(SoakWidth - 1, y, maptype_blocknoswing);
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
  ItemCount = 0;
  for (int x = 3; x < SoakWidth - 3; x += 4)
    AppendItem(itemtype_extratime, x + 0.5f, 20.5f);
  while (ItemCount < LongLivedParticles) {
    LevelItem* p = AppendItem(itemtype_particle, 40, 20);
    p->life = LongLife;
  }
  memset(&Ball, 0, sizeof(Ball));
  Ball.x = 40.5f;
  Ball.y = 20.5f;
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

TEST(Soak, HundredThousandFramesOfPlay)
{
  BuildSoakLevel();
  unsigned seed = 1;
  int attachedFrames = 0, releases = 0, fullFrames = 0, gravityTurns = 0, escapes = 0;
  int lastGravity = Ball.gravity;
  bool wasAttached = false;
  long residentAfterWarmUp = 0, heapAfterWarmUp = 0;

  for (int frame = 0; frame < SoakFrames; frame++) {
    SetInput(frame, &seed);
    LevelTimer = LevelTimeAtStart;
    // Top the table up to its limit: trail and bursts add to it, ageing takes away.
    while (ItemCount < MaxItems)
      SpawnParticle(Ball.x, Ball.y, 0.05f);
    fullFrames += ItemCount == MaxItems;
    UpdateGame(0.2f + (float)(frame % 10) * 0.2f);

    ASSERT_EQ(GameState, gamestate_playing) << "the run ended at frame " << frame;
    if (frame % 97 == 0) {
      ASSERT_TRUE(WorldIsSane()) << "at frame " << frame << ": ball " << Ball.x << ", " << Ball.y;
    }
    // A fast swing can carry the ball through a wall one cell thick; outside
    // the level it would only fall, so it starts again in the middle.
    if (Ball.x < 0 || Ball.x > SoakWidth || Ball.y < 0 || Ball.y > SoakHeight) {
      escapes++;
      Ball.x = 40.5f;
      Ball.y = 20.5f;
      Ball.vx = Ball.vy = 0;
    }
    attachedFrames += Ball.attached;
    releases += wasAttached && !Ball.attached;
    wasAttached = Ball.attached;
    gravityTurns += Ball.gravity != lastGravity;
    lastGravity = Ball.gravity;
    if (frame + 1 == WarmUpFrames) {
      residentAfterWarmUp = ResidentKiB("VmRSS:");
      heapAfterWarmUp = (long)mallinfo2().uordblks;
    }
  }
  long residentAtEnd = ResidentKiB("VmRSS:");
  long heapAtEnd = (long)mallinfo2().uordblks;

  ASSERT_GT(residentAfterWarmUp, 0);
  EXPECT_LE(residentAtEnd - residentAfterWarmUp, AllowedGrowthKiB);
  EXPECT_EQ(heapAtEnd, heapAfterWarmUp);
  // The run did what it claims: tether, gravity turns, a table at its limit.
  EXPECT_GT(attachedFrames, SoakFrames / 4);
  EXPECT_GT(releases, 100);
  EXPECT_GT(gravityTurns, 50);
  EXPECT_EQ(fullFrames, SoakFrames);
  EXPECT_LT(escapes, SoakFrames / 1000) << "the ball left the level too often to count as play";
}

}  // namespace
