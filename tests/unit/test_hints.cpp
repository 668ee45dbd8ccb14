// The level banner and the control hints: which level shows which hint, when
// it goes, the hints setting, and where the hint goes around the ball.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/play/hints.h"
#include "game/settings/settings.h"
#include "play_setup.h"

namespace {

// Level n in play on an open floor, with no hint learnt yet.
void StartAt(int n)
{
  ResetPlay(40, 20, 20, 17.4f);
  Camera.leads = false;   // the swings below aim at the window's edge as the steady view places it
  WallIn(maptype_blocknormal);
  memset(HintLearnt, 0, sizeof HintLearnt);
  HintsEnabled = true;
  BeginHints(n);
}

// Frames of play with the key held, and the tether toward the pointer at x (top edge).
void Play(int frames, int key = -1, int tetherX = -1)
{
  InputState.MouseX = tetherX;
  for (int i = 0; i < frames; i++) {
    memset(InputState.KeyState, 0, sizeof InputState.KeyState);
    if (key >= 0)
      InputState.KeyState[key] = InputHeld;
    InputState.MouseButtonState[ButtonLeft] = tetherX < 0 ? InputUp : i == 0 ? InputPressed : InputHeld;
    StepPlay(1);
  }
}

TEST(Hints, EachIntroducingLevelHasItsHintUntilTheControlIsUsed)
{
  const int expected[7] = {hint_none, hint_roll_jump, hint_held_jump, hint_tether, hint_corner, hint_let_go, hint_none};
  for (int n = 1; n <= 6; n++) {
    EXPECT_EQ(HintForLevel(n), expected[n]) << "level " << n;
    BeginHints(n);
    EXPECT_EQ(BannerNamesKeys(), n <= 5) << "level " << n;
  }

  StartAt(1);
  EXPECT_EQ(BannerAlpha(), 1);
  Play(60, KeyRight);                       // steering alone is not enough
  EXPECT_EQ(HintAlpha(), 1);
  EXPECT_GT(BannerAlpha(), 0);
  Play(61, KeySpace);
  EXPECT_EQ(BannerAlpha(), 0);              // two seconds are over
  EXPECT_EQ(HintAlpha(), 0) << "steered and jumped: the hint has faded out";
  BeginHints(1);
  EXPECT_EQ(HintAlpha(), 0) << "a hint once used is not shown again";
  EXPECT_EQ(BannerAlpha(), 1) << "the banner shows at every start";
  float was = 1;   // it fades evenly, a frame's share at a time, and is gone after two seconds
  for (int frame = 0; frame < 125 && was > 0; frame++) {
    Play(1);
    float now = BannerAlpha();
    ASSERT_TRUE(now <= was && was - now < 1.5f * SecondsPerFrameAtScale1 / BannerFadeSeconds) << was << " " << now;
    was = now;
  }
  EXPECT_EQ(was, 0);

  StartAt(5);                               // let go: only a release after a swing counts
  Play(10);
  Ball.attached = true;
  StepHints(1);
  Ball.attached = false;
  StepHints(1);
  EXPECT_EQ(HintAlpha(), 1);

  StartAt(2);                               // held jump: a tap is not one
  Play(6, KeySpace);
  Play(60);
  EXPECT_EQ(HintAlpha(), 1);
  Play(20, KeySpace);
  EXPECT_LT(HintAlpha(), 1);

  StartAt(3);                               // tether: a swing is not enough, a finish is
  InputState.MouseY = 0;
  Play(60, -1, 400);
  EXPECT_TRUE(Ball.attached && HintAlpha() == 1);
  Play(60, KeySpace, 799);
  ASSERT_TRUE(Hint.swung);
  EXPECT_EQ(HintAlpha(), 1) << "a swing that may yet fall back keeps the hint";
  ItemTable[0] = LevelItem{};
  ItemTable[0].type = itemtype_finish;
  ItemTable[0].x = Ball.x;
  ItemTable[0].y = Ball.y;
  ItemCount = 1;
  CurrentLevel = 0;                         // a finish that writes no best
  Play(1);
  EXPECT_LT(HintAlpha(), 1);
  BeginHints(3);
  EXPECT_EQ(HintAlpha(), 0) << "once finished, the hint is not shown again";
  StartAt(4);                               // a swing is not yet the climb: a catch in the air is
  InputState.MouseY = 0;
  Play(26, KeySpace, 799);
  Play(1);
  ASSERT_FALSE(Ball.attached || Ball.onGround);
  EXPECT_EQ(HintAlpha(), 1);
  Play(2, -1, 0);
  EXPECT_LT(HintAlpha(), 1);
}

TEST(Hints, SettingZeroTurnsThemOffMissingKeepsThemOn)
{
  const char* files[3] = {"hints = 0\n", "ghost = 0\n", "hints = 1\n"};
  for (int i = 0; i < 3; i++) {
    FILE* f = fmemopen((void*)files[i], strlen(files[i]), "r");
    ReadSettingsStream(f);
    fclose(f);
    ApplySettings();
    memset(HintLearnt, 0, sizeof HintLearnt);
    BeginHints(3);
    EXPECT_EQ(HintAlpha(), i == 0 ? 0 : 1) << files[i];
    EXPECT_EQ(BannerAlpha(), 1) << files[i];
  }
  HintsEnabled = true;
}

TEST(Hints, TheHintMovesToTheTopWhileTheBallIsInTheBottomBar)
{
  StartAt(1);
  EXPECT_EQ(HintPlaceNow(), hintplace_bottom);
  Ball.y = Camera.camY + Camera.viewHeight / 2 - 1;    // a cell above the view's bottom edge
  EXPECT_EQ(HintPlaceNow(), hintplace_top);
  Ball.y = Camera.camY - Camera.viewHeight / 2 + 1;    // near the top: the bottom is free
  EXPECT_EQ(HintPlaceNow(), hintplace_bottom);
  Ball.y = Camera.camY;
  Camera.viewHeight = 1;                               // the ball fills the view
  EXPECT_EQ(HintPlaceNow(), hintplace_hidden);
  Camera.viewHeight = 12;                              // the band the banner takes
  EXPECT_TRUE(BallInBand(0.45f, 0.55f));
  EXPECT_FALSE(BallInBand(0.2f, 0.4f));
}

}  // namespace
