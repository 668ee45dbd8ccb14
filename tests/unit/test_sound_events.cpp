// Sound events: the right kinds on the right frames of play, menus, pause and
// editor; the volume settings; and a replay's result untouched by the queue.
#include <gtest/gtest.h>

#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/files/level_files.h"
#include "game/run/level_start.h"
#include "game/run/pause_state.h"
#include "game/run/replay_run.h"
#include "game/run/rules.h"
#include "game/run/update.h"
#include "game/settings/settings.h"
#include "platform/keymap.h"
#include "play_setup.h"
#include "test_support.h"
#include "ui/editor.h"
#include "ui/menus.h"

// Runs frames of play until the kind is heard; the frame it was heard on, or -1.
static int FrameHeard(int kind, int limit)
{
  for (int f = 0; f < limit; f++) {
    ClearSounds();
    StepPlay(1);
    if (CountSounds(kind) > 0)
      return f;
  }
  return -1;
}

TEST(SoundEvents, TetherJumpAndLandingFrames)
{
  // A floor on row 10 and a ceiling on row 2; the ball drops a little onto the floor.
  ResetPlay(20, 20, 10.5f, 9.0f);
  for (int x = 0; x < 20; x++) {
    SetCell(x, 10, maptype_blocknormal);
    SetCell(x, 2, maptype_blocknormal);
  }
  int landed = FrameHeard(sound_land, 200);
  ASSERT_GE(landed, 0);
  EXPECT_TRUE(Ball.onGround);
  float dropStrength = SoundFrame.events[0].strength;
  EXPECT_GT(dropStrength, 0);
  EXPECT_EQ(FrameHeard(sound_land, 30), -1) << "resting on the ground is not a landing";
  EXPECT_EQ(SoundFrame.rollSpeed, 0);

  // Jump: heard on the frame Space goes down, not while it stays held in the air.
  InputState.KeyState[KeySpace] = InputPressed;
  EXPECT_EQ(FrameHeard(sound_jump, 1), 0);
  InputState.KeyState[KeySpace] = InputHeld;
  EXPECT_EQ(FrameHeard(sound_jump, 5), -1);
  InputState.KeyState[KeySpace] = InputUp;
  int relanded = FrameHeard(sound_land, 200);
  ASSERT_GE(relanded, 0);
  EXPECT_GT(SoundFrame.events[0].strength, dropStrength + 0.2f) << "a jump lands harder than a small drop";

  // Rolling: steering along the floor gives a rolling speed.
  InputState.KeyState[KeyRight] = InputHeld;
  FrameHeard(sound_kind_count, 20);
  EXPECT_GT(SoundFrame.rollSpeed, 0.01f);
  InputState.KeyState[KeyRight] = InputUp;

  // Tether: attach once on the frame the button catches the ceiling, release once when it lets go.
  InputState.MouseButtonState[ButtonLeft] = InputPressed;
  InputState.MouseY = 0;
  EXPECT_EQ(FrameHeard(sound_attach, 1), 0);
  InputState.MouseButtonState[ButtonLeft] = InputHeld;
  EXPECT_EQ(FrameHeard(sound_attach, 10), -1);
  EXPECT_EQ(FrameHeard(sound_release, 10), -1);
  InputState.MouseButtonState[ButtonLeft] = InputUp;
  EXPECT_EQ(FrameHeard(sound_release, 1), 0);
  EXPECT_EQ(FrameHeard(sound_release, 5), -1);
}

TEST(SoundEvents, PickupTicksAndOutcomes)
{
  ScratchDir dir;
  ResetPlay(20, 20, 10.5f, 5.5f);
  AppendItem(itemtype_extratime, 10.5f, 5.6f);
  EXPECT_EQ(FrameHeard(sound_pickup, 1), 0);

  // The last five seconds tick once each, then the time-out is heard.
  LevelTimer = 52;
  int ticks = 0, timeout = -1;
  for (int f = 0; f < 400 && timeout < 0; f++) {
    ClearSounds();
    Ball.x = 10.5f, Ball.y = 5.5f, Ball.vx = Ball.vy = 0;
    StepPlay(1);
    ticks += CountSounds(sound_tick);
    if (CountSounds(sound_timeout))
      timeout = f;
  }
  EXPECT_EQ(ticks, 5);
  EXPECT_EQ(timeout, 311);   // 52 tenths at 1/6 tenth per frame
  EXPECT_EQ(ScreenNow(), gamestate_results);

  // A finish: the fanfare only when the best is beaten.
  std::filesystem::create_directory("Levels");   // and saved
  for (int best : {0, 999}) {
    ResetPlay(20, 20, 10.5f, 5.5f);
    AppendItem(itemtype_finish, 10.5f, 6);
    LevelBest[0] = best;
    EXPECT_EQ(FrameHeard(sound_finish, 1), 0);
    EXPECT_EQ(CountSounds(sound_best), best == 0 ? 1 : 0);
  }
  // Harm and a finish in the same frame: the finish is what is heard.
  ResetPlay(20, 20, 10.5f, 5.5f);
  SetCell(10, 6, maptype_blockharmful);
  EXPECT_EQ(FrameHeard(sound_harm, 1), 0);
  ResetPlay(20, 20, 10.5f, 5.5f);
  SetCell(10, 6, maptype_blockharmful);
  AppendItem(itemtype_finish, 10.5f, 6);
  EXPECT_EQ(FrameHeard(sound_finish, 1), 0);
  EXPECT_EQ(CountSounds(sound_harm), 0);
}

// A new frame, after the host has applied the screen the last one asked for.
static void Press(int key)
{
  ApplyScreenRequest();
  memset(&InputState, 0, sizeof(InputState));
  InputState.KeyState[key] = InputPressed;
  ReadControls(DefaultBindings);
  ClearSounds();
}

TEST(SoundEvents, MenusPauseAndEditor)
{
  ScratchDir dir;
  WriteLevel(1, "One\n3\n3\nbbb\nbjb\nbbb\n");
  LoadLevelCatalogue();
  ShowScreen(gamestate_title);
  MenuCursor = 0;
  Press(KeyDown);
  MenuInput();
  EXPECT_EQ(CountSounds(sound_menu_move), 1);
  Press(KeyDown);   // "Options": without a hub "Online" is passed over
  MenuInput();
  Press(KeyDown);   // "Quit"
  MenuInput();
  Press(KeyDown);   // already on the last entry: nothing moves, nothing heard
  MenuInput();
  EXPECT_EQ(SoundFrame.count, 0);
  Press(KeyUp);
  MenuInput();
  Press(KeyUp);
  MenuInput();
  Press(KeyReturn);
  MenuInput();
  EXPECT_EQ(CountSounds(sound_menu_choose), 1);
  Press(KeyB);
  MenuInput();
  EXPECT_EQ(CountSounds(sound_menu_back), 1);

  PauseLevel = 0;
  PauseWanted = false;
  Press(KeyEscape);
  AdvancePause(1);
  EXPECT_EQ(CountSounds(sound_pause_open), 1);
  Press(KeyEscape);
  AdvancePause(1);
  EXPECT_EQ(CountSounds(sound_pause_close), 1);
  PauseLevel = 0;

  StartLevel(1);
  ShowScreen(gamestate_editing);
  ScreenWidth = 800;
  ScreenHeight = 600;
  EditorBrush = 0;
  Press(KeyE);
  EditorUpdate(1);
  EXPECT_EQ(CountSounds(sound_brush), 1);
  // Painting is heard when a cell changes, not while the button rests on a painted one.
  Camera.camX = Camera.camY = 1.5f;
  memset(&InputState, 0, sizeof(InputState));
  InputState.MouseX = 400;
  InputState.MouseY = 300;
  InputState.MouseButtonState[ButtonLeft] = InputHeld;
  ReadControls(DefaultBindings);
  ClearSounds();
  EditorUpdate(1);
  EXPECT_EQ(CountSounds(sound_paint), 1);
  ClearSounds();
  EditorUpdate(1);
  EXPECT_EQ(CountSounds(sound_paint), 0);
  Press(KeyB);
  EditorUpdate(1);
  EXPECT_EQ(CountSounds(sound_save), 1);
}

TEST(SoundEvents, QueueIsBoundedAndVolumesReadLikeOtherKeys)
{
  ClearSounds();
  for (int i = 0; i < MaxSoundEvents + 5; i++)
    PushSound(sound_land, i == 0 ? 3.0f : -1.0f);
  EXPECT_EQ(SoundFrame.count, MaxSoundEvents);
  EXPECT_EQ(SoundFrame.events[0].strength, 1);
  EXPECT_EQ(SoundFrame.events[1].strength, 0);
  ClearSounds();

  FILE* f = fmemopen((void*)"screenw=800\n", 12, "r");
  ReadSettingsStream(f);
  fclose(f);
  ApplySettings();
  EXPECT_EQ(Settings.sound, 80);
  EXPECT_EQ(Settings.music, 50);
  const char* text = "sound=101\nmusic=loud\n";
  f = fmemopen((void*)text, strlen(text), "r");
  ReadSettingsStream(f);
  fclose(f);
  ApplySettings();
  EXPECT_EQ(Settings.sound, 0);
  EXPECT_EQ(Settings.music, 0);
  text = "sound = 35.7\nmusic=100\n";
  f = fmemopen((void*)text, strlen(text), "r");
  ReadSettingsStream(f);
  fclose(f);
  ApplySettings();
  EXPECT_EQ(Settings.sound, 35);
  EXPECT_EQ(Settings.music, 100);
}

// The queue is written by play and never read by it: a replay played with
// the queue full (every push dropped) and with it emptied gives the same run.
TEST(SoundEvents, ReplayResultDoesNotDependOnTheQueue)
{
  char level[512], replay[512];
  snprintf(level, sizeof level, "%s/Levels/level11.dat", REPO_ROOT);
  snprintf(replay, sizeof replay, "%s/tests/solutions/level11.replay", REPO_ROOT);
  static Replay solution;
  FILE* f = fopen(replay, "r");
  ASSERT_NE(f, nullptr);
  ASSERT_TRUE(ReadReplay(f, &solution));
  fclose(f);
  ReplayOutcome runs[2];
  for (int full = 0; full < 2; full++) {
    ClearSounds();
    for (int i = 0; full && i < MaxSoundEvents; i++)
      PushSound(sound_tick);
    ASSERT_TRUE(StartLevelFile(level));
    runs[full] = PlayReplay(&solution);
  }
  EXPECT_EQ(runs[0].end, replayend_finish);
  EXPECT_EQ(runs[0].frames, runs[1].frames);
  EXPECT_EQ(runs[0].score, runs[1].score);
  EXPECT_EQ(runs[0].timeLeft, runs[1].timeLeft);
}
