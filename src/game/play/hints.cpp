// The level banner's clock and the control hints of the first levels.
#include "game/play/hints.h"

#include "game/base/controls.h"
#include "game/play/collision.h"
#include "game/play/world.h"

HintRecord Hint;
bool HintsEnabled = true;
bool HintLearnt[HintKindCount];

struct LevelHint {
  int level;
  int kind;
};
static const int LevelHintCount = 5;
static const LevelHint LevelHints[] = {
  {1, hint_roll_jump},
  {2, hint_held_jump},
  {3, hint_tether},
  {4, hint_corner},
  {5, hint_let_go},
};
static_assert(sizeof LevelHints / sizeof LevelHints[0] == LevelHintCount, "one entry per LevelHintCount");

int HintForLevel(int n)
{
  for (int i = 0; i < LevelHintCount; i++)
    if (LevelHints[i].level == n)
      return LevelHints[i].kind;
  return hint_none;
}

bool BannerNamesKeys()
{
  return HintsEnabled && Hint.level >= 1 && Hint.level <= BannerKeysLastLevel;
}

void BeginHints(int n)
{
  Hint = HintRecord();
  Hint.level = n;
  Hint.lastX = Ball.x;
  Hint.lastY = Ball.y;
  int kind = HintForLevel(n);
  if (HintsEnabled && !HintLearnt[kind]) {
    Hint.kind = kind;
    Hint.fade = 1;
  }
}

static bool ControlUsed()
{
  switch (Hint.kind) {
  case hint_roll_jump: return Hint.steered && Hint.jumped;
  case hint_held_jump: return Hint.heldJump;
  case hint_tether: return Hint.finished;
  case hint_corner: return Hint.climbed;
  case hint_let_go: return Hint.swung && !Ball.attached;
  default: return false;
  }
}

// A press that pins a grounded ball is no swing: only travel on the tether
// off the ground counts, and a swing ends on the ground or let go.
static void FollowSwing()
{
  float moved = Distance(Ball.x, Ball.y, Hint.lastX, Hint.lastY);
  Hint.lastX = Ball.x;
  Hint.lastY = Ball.y;
  bool hanging = Ball.attached && !Ball.onGround;
  if (hanging && Controls.tetherShot && Hint.swung)
    Hint.climbed = true;   // caught anew in the air after a swing
  Hint.swingTravel = hanging ? Hint.swingTravel + moved : 0;
  if (Hint.swingTravel >= SwingProofDistance)
    Hint.swung = true;
}

// The ball's speed against gravity, world units per frame: above 0 while it rises.
static float RiseSpeed()
{
  switch (Ball.gravity) {
  case GravityLeft: return Ball.vx;
  case GravityUp: return Ball.vy;
  case GravityRight: return -Ball.vx;
  default: return -Ball.vy;
  }
}

// A jump held on past its start while the ball rises free: the held jump
// that carries it higher. A tap, or a jump off the tether, is not one.
static void FollowJump(float t)
{
  bool boosting = Controls.jump && !Ball.onGround && !Ball.attached && RiseSpeed() > 0;
  Hint.jumpHeld = boosting ? Hint.jumpHeld + t : 0;
  if (Hint.jumpHeld >= HeldJumpProofFrames)
    Hint.heldJump = true;
}

void StepHints(float t)
{
  float seconds = t * SecondsPerFrameAtScale1;
  if (Hint.age < BannerSeconds)
    Hint.age += seconds;
  if (Hint.kind == hint_none)
    return;
  Hint.steered = Hint.steered || Controls.steerX != 0 || Controls.steerY != 0;
  Hint.jumped = Hint.jumped || Controls.jump;
  FollowSwing();
  FollowJump(t);
  if (!Hint.used && ControlUsed()) {
    Hint.used = true;
    HintLearnt[Hint.kind] = true;
  }
  if (Hint.used) {
    Hint.fade -= seconds / HintFadeSeconds;
    if (Hint.fade <= 0) {
      Hint.fade = 0;
      Hint.kind = hint_none;
    }
  }
}

void NoteFinishForHints()
{
  Hint.finished = true;
}

float BannerAlpha()
{
  if (Hint.level <= 0 || Hint.age >= BannerSeconds)
    return 0;
  float left = BannerSeconds - Hint.age;
  return left < BannerFadeSeconds ? left / BannerFadeSeconds : 1;
}

float HintAlpha()
{
  return Hint.kind == hint_none ? 0 : Hint.fade;
}

bool BallInBand(float top, float bottom)
{
  float height = Camera.viewHeight;
  if (!(height > 0))
    return false;
  float viewTop = Camera.camY - height / 2;
  float ballTop = (Ball.y - HintBallReach - viewTop) / height;
  float ballBottom = (Ball.y + HintBallReach - viewTop) / height;
  return ballBottom > top && ballTop < bottom;
}

int HintPlaceNow()
{
  if (!BallInBand(HintBottomBandTop, 1))
    return hintplace_bottom;
  return BallInBand(0, HintTopBandBottom) ? hintplace_hidden : hintplace_top;
}
