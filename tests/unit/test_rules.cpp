// Rules of a run: timer, pickups, particles, trail, outcome and best scores.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/files/assist_best.h"
#include "game/files/level_files.h"
#include "game/run/rules.h"
#include "game/run/run_end.h"
#include "game/run/update.h"
#include "game/settings/assists.h"
#include "play_setup.h"
#include "test_support.h"

// Level 1 in play in an empty 20 x 20 level, the ball at (5.5, 5.5), the
// trail far off and no best scores yet.
static void ResetRun()
{
  ResetPlay(20, 20, 5.5f, 5.5f);
  TrailTimer = 1000;
  memset(LevelBest, 0, sizeof(LevelBest));
}

// The best score stored in Levels/level1.score; -1 when there is no file.
static int StoredBest()
{
  std::string bytes = ReadFile("Levels/level1.score");
  if (bytes.size() != 4)
    return -1;
  return (unsigned char)bytes[0] | (unsigned char)bytes[1] << 8 | (unsigned char)bytes[2] << 16 |
         (unsigned char)bytes[3] << 24;
}

static int CountType(int type)
{
  int n = 0;
  for (int i = 0; i < ItemCount; i++)
    n += ItemTable[i].type == type;
  return n;
}

TEST(Rules, TimerRunsOutAtExactlyZeroAndEndsTheRun)
{
  ResetRun();
  for (int x = 0; x < 20; x++)
    SetCell(x, 7, maptype_blocknormal);
  int frames = 0;
  while (LevelTimer > 0 && frames < 5000) {
    ASSERT_EQ(ScreenNow(), gamestate_playing) << "frame " << frames;
    UpdateGame(1);
    frames++;
  }
  EXPECT_EQ(LevelTimer, 0.0f);
  EXPECT_GE(frames, 1799);
  EXPECT_LE(frames, 1801);
  EXPECT_EQ(ScreenNow(), gamestate_results);
  EXPECT_EQ(RunEnd.outcome, runend_timeup);

  LevelTimer = 0.05f;
  CountDownTimer(2);
  EXPECT_EQ(LevelTimer, 0.0f);
}

TEST(Rules, PickupsInsideOneUnitAreCollected)
{
  ResetRun();
  AppendItem(itemtype_extratime, 6.5f, 5.5f);   // exactly 1.0 away
  AppendItem(itemtype_extratime, 6.49f, 5.5f);  // 0.99 away
  AppendItem(itemtype_finish, 15.5f, 15.5f);
  StepItems(1);
  EXPECT_EQ(LevelTimer, 350);
  EXPECT_EQ(ItemCount, 3 + 19);
  EXPECT_EQ(ItemTable[0].type, itemtype_extratime);
  EXPECT_EQ(ItemTable[0].x, 6.5f);
  EXPECT_EQ(ItemTable[1].type, itemtype_finish);
  EXPECT_EQ(CountType(itemtype_particle), 20);
  for (int i = 2; i < ItemCount; i++) {
    EXPECT_FLOAT_EQ(ItemTable[i].life, 1.475f);  // aged in the frame they were born
    EXPECT_NEAR(ItemTable[i].x, 6.49f, 0.1001f);
  }

  // Two neighbours within reach are both taken in one pass.
  ResetRun();
  AppendItem(itemtype_extratime, 5.0f, 5.5f);
  AppendItem(itemtype_extratime, 6.0f, 5.5f);
  StepItems(1);
  EXPECT_EQ(LevelTimer, 400);
  EXPECT_EQ(CountType(itemtype_extratime), 0);
  EXPECT_EQ(ItemCount, 40);
}

TEST(Rules, ParticlesAgeMoveAndDie)
{
  ResetRun();
  srand(7);
  SpawnParticle(3, 4, 0.001f);
  ASSERT_EQ(ItemCount, 1);
  LevelItem p = ItemTable[0];
  EXPECT_EQ(p.type, itemtype_particle);
  EXPECT_EQ(p.life, 1.5f);
  EXPECT_GE(p.vx, -0.1f);
  EXPECT_LE(p.vx, 0.099f + 1e-6f);
  StepItems(1);
  EXPECT_FLOAT_EQ(ItemTable[0].x, 3 + p.vx);
  EXPECT_FLOAT_EQ(ItemTable[0].y, 4 + p.vy);
  int frames = 1;
  while (ItemCount > 0 && frames < 200) {
    StepItems(1);
    frames++;
  }
  EXPECT_GE(frames, 59);
  EXPECT_LE(frames, 61);

  // A full table drops the particle but still draws both random numbers.
  for (int i = 0; i < MaxItems; i++)
    AppendItem(itemtype_finish, 0, 0);
  srand(11);
  rand();
  rand();
  int third = rand();
  srand(11);
  SpawnParticle(1, 1, 1);
  EXPECT_EQ(ItemCount, MaxItems);
  EXPECT_EQ(CountType(itemtype_particle), 0);
  EXPECT_EQ(rand(), third);
}

TEST(Rules, TrailPaceFollowsTheTimeScale)
{
  // Over 12 frames: one every second frame, one every frame, three in four.
  const float scales[3] = {0.5f, 2.0f, 0.75f};
  const int expectedInTwelve[3] = {6, 12, 9};
  for (int s = 0; s < 3; s++) {
    ResetRun();
    TrailTimer = 0;
    for (int i = 0; i < 10; i++)
      StepItems(scales[s]);
    int settled = ItemCount;
    for (int i = 0; i < 12; i++) {
      int before = ItemCount;
      StepItems(scales[s]);
      if (ItemCount > before) {
        EXPECT_EQ(ItemTable[ItemCount - 1].life, 1.5f);  // not aged in its own frame
      }
    }
    EXPECT_EQ(ItemCount - settled, expectedInTwelve[s]) << "t = " << scales[s];
  }
}

TEST(Rules, FinishScoresTheTimeLeftAndOnlyABetterBestIsWritten)
{
  ScratchDir scratch;
  std::filesystem::create_directory("Levels");
  ResetRun();
  LevelBest[0] = 120;
  AppendItem(itemtype_finish, 7.5f, 5.5f);  // exactly 2.0 away
  CheckOutcome();
  EXPECT_EQ(ScreenNow(), gamestate_playing);
  ItemTable[0].x = 7.49f;
  LevelTimer = 119.2f;                       // scores 120, equal to the best
  CheckOutcome();
  EXPECT_EQ(ScreenNow(), gamestate_results);
  EXPECT_EQ(RunEnd.outcome, runend_finished);
  EXPECT_FALSE(RunEnd.newBest);
  EXPECT_EQ(LevelBest[0], 120);
  EXPECT_EQ(StoredBest(), -1);

  LevelTimer = 120.01f;
  CheckOutcome();
  EXPECT_EQ(LevelBest[0], 121);
  EXPECT_EQ(StoredBest(), 121);
  EXPECT_TRUE(RunEnd.newBest);

  // An assisted run's best is kept apart: the level's best and its file stay.
  RunAssisted = true;
  LevelTimer = 250;
  ShowScreen(gamestate_playing);
  CheckOutcome();
  RunAssisted = false;
  EXPECT_TRUE(RunEnd.assisted && RunEnd.newBest && RunEnd.best == 250 && LevelAssistBest[0] == 250);
  EXPECT_TRUE(LevelBest[0] == 121 && StoredBest() == 121);
  EXPECT_EQ(ReadFile("Levels/level1.assist.score"), std::string("\xfa\0\0\0", 4));

  // A level number outside the catalogue ends the run without touching it.
  CurrentLevel = MaxLevels + 1;
  LevelTimer = 250;
  ShowScreen(gamestate_playing);
  CheckOutcome();
  EXPECT_EQ(ScreenNow(), gamestate_results);
  EXPECT_EQ(LevelBest[0], 121);
  EXPECT_EQ(ReadFile("Levels/level1000.score"), "");
}

// The ball ends the run as harm does once more than 10 cells past a side of the 20 x 20 level.
TEST(Rules, BallLostOutsideTheLevelEndsTheRunAsHarm)
{
  for (const auto& p : {std::pair(-10, 5), {30, 5}, {5, -10}, {5, 30}, {-10, -10}})
    for (float beyond : {-0.1f, 0.0f, 0.1f}) {   // short of, at and past the limit
      ResetRun();
      ClearSounds();
      Ball.x = p.first + (p.first < 0 ? -beyond : p.first > 20 ? beyond : 0);
      Ball.y = p.second + (p.second < 0 ? -beyond : p.second > 20 ? beyond : 0);
      CheckOutcome();
      EXPECT_EQ(ScreenNow(), beyond > 0 ? gamestate_results : gamestate_playing) << Ball.x << ", " << Ball.y;
      EXPECT_EQ(CountSounds(sound_harm), beyond > 0);
    }
}

TEST(Rules, HarmfulContactEndsTheRunAndAFinishStillCounts)
{
  ScratchDir scratch;
  std::filesystem::create_directory("Levels");
  ResetRun();
  SetCell(5, 6, maptype_blockharmful);  // top edge 0.5 below the ball's centre
  LevelTimer = 0;                       // harm in the frame the time runs out is what ended it
  CheckOutcome();
  EXPECT_EQ(ScreenNow(), gamestate_results);
  EXPECT_EQ(RunEnd.outcome, runend_harmed);

  ShowScreen(gamestate_playing);
  AppendItem(itemtype_finish, 5.5f, 4.0f);
  LevelTimer = 42.5f;
  CheckOutcome();
  EXPECT_EQ(ScreenNow(), gamestate_results);
  EXPECT_EQ(RunEnd.outcome, runend_finished);
  EXPECT_EQ(RunEnd.timeLeft, 42.5f);
  EXPECT_EQ(StoredBest(), 43);
}
