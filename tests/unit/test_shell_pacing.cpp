// Frame pacing on a scripted clock, TimeScale from the measured rate, the
// date and clock texts, and RunGameState's dispatch and menu reset.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <ctime>

#include "app/host.h"
#include "game/base/clock_text.h"
#include "game/base/controls.h"
#include "game/base/screen.h"
#include "game/files/level_files.h"
#include "game/play/play_step.h"
#include "game/play/time_scale.h"
#include "game/play/world.h"
#include "game/run/replay_run.h"
#include "game/settings/settings.h"
#include "platform/input.h"
#include "platform/keymap.h"
#include "platform/pacing.h"
#include "test_support.h"

namespace {

unsigned FakeNow;          // ms on the scripted clock
unsigned LastDelay;        // the wait PaceFrame asked for, 0 when none
unsigned Oversleep;        // ms the scripted wait sleeps beyond the request

unsigned FakeTicks() { return FakeNow; }
void FakeDelay(unsigned ms)
{
  LastDelay = ms;
  FakeNow += ms + Oversleep;
}

// One frame whose work took workMs on the scripted clock.
void Frame(unsigned workMs)
{
  FakeNow += workMs;
  LastDelay = 0;
  PaceFrame();
}

TEST(ShellPacing, WaitsOutSixteenMillisecondsMeasuresAndCountsOversleep)
{
  FakeNow = Oversleep = 0;   // the program's clock starts at 0, as LastFrameTick does
  PacingTicks = FakeTicks;
  PacingDelay = FakeDelay;
  Frame(700);  // start-up time counts into the first frame
  EXPECT_EQ(LastDelay, 0u);
  EXPECT_EQ(FrameTime, 700);
  EXPECT_FLOAT_EQ(TimeScaleForRate(FramesPerSecond), 2);

  Frame(5);
  EXPECT_EQ(LastDelay, 11u);
  EXPECT_EQ(FrameTime, 16);
  EXPECT_FLOAT_EQ(FramesPerSecond, 62.5f);

  Frame(40);
  EXPECT_EQ(LastDelay, 0u);
  EXPECT_FLOAT_EQ(FramesPerSecond, 25);

  Oversleep = 4;   // asked for 11 ms, sleeps 15
  Frame(5);
  EXPECT_EQ(LastDelay, 11u);
  Oversleep = 0;
  Frame(5);        // 4 ms of the last sleep count into this frame
  EXPECT_EQ(LastDelay, 7u);
  EXPECT_EQ(FrameTime, 16);
  EXPECT_EQ(LastFrameTick, FakeNow);

  FakeNow -= 3;    // a wait that woke early: the clock is behind the frame start
  Frame(0);
  EXPECT_EQ(LastDelay, 19u);
  EXPECT_EQ(FrameTime, 16);

  PacingEnabled = false;
  Frame(3);
  EXPECT_EQ(LastDelay, 0u);
  EXPECT_EQ(FrameTime, 3);
  Frame(0);
  EXPECT_EQ(FrameTime, 1);
  EXPECT_FLOAT_EQ(FramesPerSecond, 1000);
}

// A held jump from level 2's floor rises alike at 60 Hz, in the browser on a
// 144 Hz display (frames 7 ms apart, no wait: it once flew to the ceiling),
// and at game speeds 75 and 50%, whose clock runs at that share of real time;
// a tether click between two steps shoots at the next one.
TEST(ShellPacing, HeldJumpRisesAlikeAtAnyRefreshAndGameSpeed)
{
  ScratchDir dir;
  PacingTicks = FakeTicks;
  PacingEnabled = false;
  const struct { int hz, speed; } runs[] = {{60, 100}, {144, 100}, {60, 75}, {60, 50}};
  float peak[4], clock[4];
  for (int i = 0; i < 4; i++) {
    ASSERT_TRUE(StartLevelFile(REPO_ROOT "/Levels/level2.dat"));
    ShowScreen(gamestate_playing);
    Settings.speed = runs[i].speed;
    float floorY = 0, topY = 100;
    for (unsigned f = FrameTime = 0, start = LastFrameTick = FakeNow; f < runs[i].hz * 3u; f++, PaceFrame()) {
      memset(&Controls, 0, sizeof Controls);
      Controls.jump = true;
      RunGameState();
      FakeNow = start + (f + 1) * 1000 / runs[i].hz;
      floorY = floorY == 0 && Ball.onGround ? Ball.y : floorY;
      topY = Ball.y < topY ? Ball.y : topY;
    }
    peak[i] = floorY - topY, clock[i] = (LevelTimeAtStart - LevelTimer) / runs[i].speed;
    EXPECT_TRUE(fabsf(peak[i] / peak[0] - 1) < 0.02f && fabsf(clock[i] / clock[0] - 1) < 0.03f)
        << runs[i].hz << " Hz, " << runs[i].speed << "%: rises " << peak[i] << ", clock " << clock[i];
  }
  PacingEnabled = true, Settings.speed = SettingsFullSpeed;
  ResetPlayStep();
  Controls.tether = Controls.tetherShot = true;   // clicked in frame 0 only, shot at 1's step
  int shots = 0;
  for (int f = 0; f < 4; f++, Controls.tether = Controls.tetherShot = false)
    shots += (TakePlayStep(MinStepMilliseconds, SettingsMinSpeed) > 0 && Controls.tetherShot) << f;
  EXPECT_EQ(shots, 2);
}

TEST(ShellTimeScale, FromFramesPerSecond)
{
  EXPECT_FLOAT_EQ(TimeScaleForRate(0), 2);       // first frame: nothing measured
  EXPECT_FLOAT_EQ(TimeScaleForRate(62.5f), 0.96f);
  EXPECT_FLOAT_EQ(TimeScaleForRate(40), 1.5f);
  EXPECT_FLOAT_EQ(TimeScaleForRate(30), 2);
  EXPECT_FLOAT_EQ(TimeScaleForRate(20), 2);
  EXPECT_FLOAT_EQ(TimeScaleForRate(300), 0.2f);
  EXPECT_FLOAT_EQ(TimeScaleForRate(NAN), 0.2f);  // never a NaN step into play
}

// Whatever the frames' lengths and the game speed, every step of play
// takes a scale a level hub takes, the one real play gives.
TEST(ShellTimeScale, EveryStepTakesAPlayedScale)
{
  unsigned seed = 12345;
  for (int speed = SettingsMinSpeed; speed <= SettingsFullSpeed; speed += 5) {
    ResetPlayStep();
    for (int f = 0; f < 400; f++) {
      seed = seed * 1103515245u + 12345u;
      int frameMs = (int)(seed >> 16) % 60;   // 0: nothing measured yet
      float t = TakePlayStep(frameMs, speed);
      EXPECT_TRUE(t == 0 || IsPlayedTimeScale(t)) << frameMs << " ms at " << speed << "%: " << t;
    }
  }
}

TEST(ShellClock, DateAndClockTexts)
{
  const struct { int wday, mday, mon, hour, min, sec; const char* date; const char* clock; } cases[] = {
    {1, 7, 11, 0, 5, 9, "Monday December 7th 2026", "12:05:09 AM"},
    {0, 1, 0, 12, 0, 0, "Sunday January 1st 2026", "12:00:00 PM"},
    {3, 11, 5, 13, 45, 30, "Wednesday June 11th 2026", "1:45:30 PM"},
    {6, 21, 8, 11, 59, 59, "Saturday September 21st 2026", "11:59:59 AM"},
    {4, 22, 9, 23, 10, 10, "Thursday October 22nd 2026", "11:10:10 PM"},
    {5, 31, 2, 1, 0, 0, "Friday March 31st 2026", "1:00:00 AM"},
    {9, 0, 12, 0, 0, 0, "   2026", "12:00:00 AM"},   // fields outside the name tables
  };
  for (const auto& c : cases) {
    struct tm t;
    memset(&t, 0, sizeof(t));
    t.tm_wday = c.wday;
    t.tm_mday = c.mday;
    t.tm_mon = c.mon;
    t.tm_year = 2026 - 1900;
    t.tm_hour = c.hour;
    t.tm_min = c.min;
    t.tm_sec = c.sec;
    FormatDateText(&t);
    FormatClockText(&t);
    EXPECT_STREQ(DateText, c.date);
    EXPECT_STREQ(ClockText, c.clock);
  }
}

TEST(ShellDispatch, TimeScaleReachesPlayAndStateChangesResetTheMenu)
{
  ScratchDir dir;   // a level left finished by an earlier test saves its score here
  memset(&InputState, 0, sizeof(InputState));
  ReadControls(DefaultBindings);
  LevelWidth = 0;
  LevelHeight = 0;

  // Play: the timer falls by TimeScale / 60 x 10 tenths per step; a frame
  // shorter than a step takes none.
  const struct { int ms; float timeScale; } rates[] = {{0, 2}, {25, 1.5f}, {16, 0.96f}, {1, 0}};
  ResetPlayStep();
  for (const auto& r : rates) {
    ShowScreen(gamestate_playing);
    LevelTimer = 200;
    FrameTime = r.ms;
    RunGameState();
    EXPECT_NEAR(200 - LevelTimer, r.timeScale / 6, 1e-4) << r.ms << " ms";
  }

  // A list opens on the level last played or edited, scrolled so that it
  // shows at the foot of the six rows; the title on its first entry.
  for (int s = 0; s < MaxLevels; s++)
    LevelExists[s] = true;
  HighestLevel = MaxLevels;
  ShowScreen(gamestate_title);
  const struct { int entry, key, level, state, cursor, firstRow; } opens[] = {
    {1, KeyReturn, 9, gamestate_editlist, 8, 3}, {0, KeyB, 9, gamestate_title, 0, 0},
    {0, KeyReturn, 15, gamestate_playlist, 14, 9}, {0, KeyB, 2, gamestate_title, 0, 0},
    {0, KeyReturn, 2, gamestate_playlist, 1, 0}};
  for (const auto& o : opens) {
    MenuCursor = o.entry;
    CurrentLevel = o.level;
    memset(&InputState, 0, sizeof(InputState));
    InputState.KeyState[o.key] = InputPressed;
    ReadControls(DefaultBindings);
    RunGameState();
    EXPECT_EQ(ScreenNow(), o.state);
    EXPECT_EQ(MenuCursor, o.cursor) << "level " << o.level;
    EXPECT_EQ(MenuFirstRow, o.firstRow) << "level " << o.level;
  }

  // No change of state: the cursor stays; an unknown state runs nothing.
  InputState.KeyState[KeyReturn] = InputUp;
  ReadControls(DefaultBindings);
  ShowScreen(gamestate_title);
  MenuCursor = 1;
  RunGameState();
  EXPECT_EQ(MenuCursor, 1);
  ShowScreen(8);
  MenuFirstRow = 2;
  RunGameState();
  EXPECT_EQ(ScreenNow(), 8);
  EXPECT_EQ(MenuFirstRow, 2);
}

}  // namespace
