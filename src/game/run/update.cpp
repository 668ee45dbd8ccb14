// update: the per-frame step of play. The order of the steps inside
// UpdateGame is part of the game's feel; keep it.
#include "game/run/update.h"

#include <cmath>

#include "game/base/controls.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/files/ghost.h"
#include "game/files/replay_record.h"
#include "game/play/collision.h"
#include "game/play/hints.h"
#include "game/play/step_math.h"
#include "game/play/world.h"
#include "game/run/rules.h"

// Speeds are world units per 60 Hz frame; per-frame steps are scaled by t.
const float MinTimeScale = 0.2f;
const float MaxTimeScale = 2.0f;
const float GravityReleased = 0.02f;   // units per frame, added each frame
const float GravityAttached = 0.018f;
const float SteerAccel = 0.013f;       // units per frame at full strength
const float TetherStep = 0.05f;        // units between probes of the ray
const int TetherMaxSteps = 1000;       // so the ray reaches 50 units
const float AnchorKeepRadius = 0.5f;   // units; a hit this close keeps the anchor
const float ReleasedAnchor = -10.0f;   // both anchor coordinates while released
const float JumpSpeed = 0.425f;        // units per frame
const float JumpBoost = 1.105f;        // factor per frame, not scaled by t
const float DragReleased = 0.1f;       // share of the speed lost per frame
const float DragAttached = 0.012f;
const float CameraAimWeight = 0.2f;    // the older camera aims between aim point and ball
const float CameraBallWeight = 0.8f;
const float CameraMaxLeadCells = 7.0f; // world units the leading camera's target lies off the ball, at most, along each axis
const float CameraBallMargin = 1.25f;  // world units the lead leaves, at least, between the ball's centre and the view's edge
const float CameraLeadRate = 0.05f;    // share of the gap to the pointer's lead closed per frame
const float CameraFollowRate = 0.075f; // share of the gap closed per frame
const float LandQuietSpeed = 0.04f;    // units per frame; slower touches of the ground are silent
const float LandHardSpeed = 0.4f;      // units per frame; a hit this fast or faster is a full-strength landing

struct Steering {
  float sx, sy;   // unit direction, or zero
  float m;        // strength 0..1
};

static Steering ReadSteering()
{
  Steering s = {0, 0, 0};
  float vx = Controls.steerX;
  float vy = Controls.steerY;
  float len = sqrtf(vx * vx + vy * vy);
  if (len == 0)
    return s;
  s.sx = vx / len;
  s.sy = vy / len;
  s.m = len > 1 ? 1 : len;
  return s;
}

static float ClampUnit(float v)
{
  if (v < -1)
    return -1;
  if (v > 1)
    return 1;
  return v;
}

// Uses the camera as the previous frame left it. Without a known window size
// the pointer counts as centred, so no division by zero reaches the camera.
static void UpdateAim()
{
  if (ScreenWidth <= 0 || ScreenHeight <= 0) {
    AimPoint.mouseNX = AimPoint.mouseNY = 0;
    AimPoint.aimX = Camera.camX;
    AimPoint.aimY = Camera.camY;
    return;
  }
  AimPoint.mouseNX = ClampUnit(2 * Controls.aimX / ScreenWidth - 1);
  AimPoint.mouseNY = ClampUnit(2 * Controls.aimY / ScreenHeight - 1);
  AimPoint.aimX = Camera.camX + Camera.viewHeight * AimPoint.mouseNX * 0.5f * AspectRatio;
  AimPoint.aimY = Camera.camY + Camera.viewHeight * AimPoint.mouseNY * 0.5f;
}

static void ApplyGravityCell()
{
  switch (CellUnder(Ball.x, Ball.y)) {
  case maptype_gravitydown: Ball.gravity = GravityDown; break;
  case maptype_gravityleft: Ball.gravity = GravityLeft; break;
  case maptype_gravityup: Ball.gravity = GravityUp; break;
  case maptype_gravityright: Ball.gravity = GravityRight; break;
  default: break;
  }
}

// Uses the attachment of the previous frame.
static void Accelerate(float t, Steering s)
{
  float g = Ball.attached ? GravityAttached : GravityReleased;
  float a = SteerAccel * s.m * t;
  switch (Ball.gravity) {
  case GravityDown: Ball.vy += g * t; break;
  case GravityLeft: Ball.vx -= g * t; break;
  case GravityUp: Ball.vy -= g * t; break;
  case GravityRight: Ball.vx += g * t; break;
  }
  if (Ball.attached) {
    Ball.vx += a * s.sx;
    Ball.vy += a * s.sy;
  } else if (Ball.gravity == GravityDown || Ball.gravity == GravityUp) {
    Ball.vx += a * s.sx;
  } else {
    Ball.vy += a * s.sy;
  }
}

static void ReleaseTether()
{
  Ball.attached = false;
  Ball.tetherLength = 0;
  Ball.anchorX = Ball.anchorY = ReleasedAnchor;
}

// Casts the ray toward the anchor (attached) or the aim point (released).
// The old anchor is kept only by a tether that was attached last frame: a
// fresh shot landing near a stale anchor (StartLevel leaves it at 0, 0 with
// length 0) would otherwise attach with length 0 and snap the ball onto it.
static void StepTether()
{
  bool wasAttached = Ball.attached;
  if (!Controls.tether || (wasAttached && Controls.tetherShot)) {   // let go, or let go and shot again
    if (wasAttached)
      PushSound(sound_release);
    ReleaseTether();
    wasAttached = false;
    if (!Controls.tether)
      return;
  }
  float theta = wasAttached ? StepAtan2(Ball.anchorY - Ball.y, Ball.anchorX - Ball.x)
                            : StepAtan2(AimPoint.aimY - Ball.y, AimPoint.aimX - Ball.x);
  float oldAnchorX = Ball.anchorX, oldAnchorY = Ball.anchorY;
  float stepX = StepCos(theta) * TetherStep, stepY = StepSin(theta) * TetherStep;
  float px = Ball.x, py = Ball.y;
  bool hit = false;
  for (int i = 0; i < TetherMaxSteps; i++) {
    px += stepX;
    py += stepY;
    Ball.anchorX = px;
    Ball.anchorY = py;
    int cell = CellUnder(px, py);
    if (cell == maptype_blocknormal || cell == maptype_blockharmful || cell == maptype_blockghost) {
      hit = true;
      break;
    }
    if (cell == maptype_blocknoswing)
      break;
  }
  if (!hit) {
    if (wasAttached)
      PushSound(sound_release);
    ReleaseTether();
    return;
  }
  if (!wasAttached)
    PushSound(sound_attach);
  Ball.attached = true;
  if (wasAttached && Distance(oldAnchorX, oldAnchorY, Ball.anchorX, Ball.anchorY) <= AnchorKeepRadius) {
    Ball.anchorX = oldAnchorX;
    Ball.anchorY = oldAnchorY;
    return;
  }
  Ball.tetherLength = Distance(Ball.x, Ball.y, Ball.anchorX, Ball.anchorY);
}

// onGround is last frame's, attached this frame's.
static void Jump()
{
  if (!Controls.jump)
    return;
  if (Ball.onGround)
    PushSound(sound_jump);
  bool boost = !Ball.attached;
  switch (Ball.gravity) {
  case GravityDown:
    if (Ball.onGround) Ball.vy = -JumpSpeed;
    else if (boost && Ball.vy < 0) Ball.vy = Ball.vy * JumpBoost;
    break;
  case GravityLeft:
    if (Ball.onGround) Ball.vx = JumpSpeed;
    else if (boost && Ball.vx > 0) Ball.vx = Ball.vx * JumpBoost;
    break;
  case GravityUp:
    if (Ball.onGround) Ball.vy = JumpSpeed;
    else if (boost && Ball.vy > 0) Ball.vy = Ball.vy * JumpBoost;
    break;
  case GravityRight:
    if (Ball.onGround) Ball.vx = -JumpSpeed;
    else if (boost && Ball.vx < 0) Ball.vx = Ball.vx * JumpBoost;
    break;
  }
}

// The ball's speed along gravity (x) and across it (y), world units per frame.
static float SpeedAlongGravity(int gravity, float vx, float vy)
{
  switch (gravity) {
  case GravityDown: return vy;
  case GravityUp: return -vy;
  case GravityRight: return vx;
  default: return -vx;
  }
}

static float SpeedAcrossGravity(int gravity, float vx, float vy)
{
  return fabsf(gravity == GravityDown || gravity == GravityUp ? vx : vy);
}

// A landing is heard when the ball comes down on the ground at more than a touch.
static void HearLanding(bool wasOnGround, float fallSpeed)
{
  if (Ball.onGround && !wasOnGround && fallSpeed > LandQuietSpeed)
    PushSound(sound_land, fallSpeed / LandHardSpeed);
}

// The ball is on the ground when the collision pushed it back against gravity.
static void MoveBall(float t, float oldX, float oldY)
{
  bool wasOnGround = Ball.onGround;
  float fallSpeed = SpeedAlongGravity(Ball.gravity, Ball.vx, Ball.vy);
  float expectX = oldX + Ball.vx * t;
  float expectY = oldY + Ball.vy * t;
  Ball.x = expectX;
  Ball.y = expectY;
  CollideSolidFrom(Ball.x, Ball.y, BallRadius, oldX, oldY);
  switch (Ball.gravity) {
  case GravityDown: Ball.onGround = expectY > Ball.y; break;
  case GravityUp: Ball.onGround = expectY < Ball.y; break;
  case GravityRight: Ball.onGround = expectX > Ball.x; break;
  case GravityLeft: Ball.onGround = expectX < Ball.x; break;
  }
  HearLanding(wasOnGround, fallSpeed);
  float pulledX = Ball.x, pulledY = Ball.y;   // where the tether pulls from
  if (Ball.attached) {
    float theta = StepAtan2(Ball.anchorY - Ball.y, Ball.anchorX - Ball.x);
    Ball.x = Ball.anchorX - StepCos(theta) * Ball.tetherLength;
    Ball.y = Ball.anchorY - StepSin(theta) * Ball.tetherLength;
  }
  CollideSolidFrom(Ball.x, Ball.y, BallRadius, pulledX, pulledY);
  float k = Ball.attached ? DragAttached : DragReleased;
  Ball.vx = (Ball.x - oldX) / t;
  Ball.vy = (Ball.y - oldY) / t;
  Ball.vx = Ball.vx - Ball.vx * k * t;
  Ball.vy = Ball.vy - Ball.vy * k * t;
}

// The leading camera's lead along one axis: the pointer's place across the
// window (-1..1) times the most lead, CameraMaxLeadCells or less so that the
// ball stays CameraBallMargin inside a view halfExtent wide to either side.
static float LeadAlong(float pointer, float halfExtent)
{
  float most = halfExtent - CameraBallMargin;
  if (!(most < CameraMaxLeadCells))   // NaN too, from a window of no height
    most = CameraMaxLeadCells;
  if (most < 0)
    most = 0;
  return pointer * most;
}

// The camera closes a share of the gap to its target each frame, so it never
// jumps. The leading camera's target is the ball moved toward the pointer, the
// most when the pointer is at the window's edge, so that a block beyond the
// view comes into it as the player points there; it reads the pointer's place
// in the window, not the aim's world point, which hangs on the camera itself.
// The lead eases toward the pointer's own, so a flick of the pointer starts
// the view gliding rather than darting.
// The older target (0.2 aim, 0.8 ball) leads by a quarter of the half view at
// most; replays made before the lead keep it.
static void FollowCamera(float t)
{
  float targetX, targetY;
  if (Camera.leads) {
    float leadX = LeadAlong(AimPoint.mouseNX, PlayViewHeight * 0.5f * AspectRatio);
    float leadY = LeadAlong(AimPoint.mouseNY, PlayViewHeight * 0.5f);
    Camera.leadX += (leadX - Camera.leadX) * CameraLeadRate * t;
    Camera.leadY += (leadY - Camera.leadY) * CameraLeadRate * t;
    targetX = Ball.x + Camera.leadX;
    targetY = Ball.y + Camera.leadY;
  } else {
    targetX = CameraAimWeight * AimPoint.aimX + CameraBallWeight * Ball.x;
    targetY = CameraAimWeight * AimPoint.aimY + CameraBallWeight * Ball.y;
  }
  Camera.camX += (targetX - Camera.camX) * CameraFollowRate * t;
  Camera.camY += (targetY - Camera.camY) * CameraFollowRate * t;
  Camera.viewHeight = PlayViewHeight;
}

// t outside 0.2..2 (0 or NaN included) is brought into range: the velocity
// step divides by t, and a NaN there would follow the ball for good.
void UpdateGame(float t)
{
  if (!(t >= MinTimeScale))
    t = MinTimeScale;
  if (t > MaxTimeScale)
    t = MaxTimeScale;

  RecordReplayFrame(t);
  CountDownTimer(t);
  float oldX = Ball.x, oldY = Ball.y;
  Steering steer = ReadSteering();
  UpdateAim();
  ApplyGravityCell();
  Accelerate(t, steer);
  StepTether();
  Jump();
  MoveBall(t, oldX, oldY);
  FollowCamera(t);
  StepItems(t);
  RecordGhostFrame(t);
  CheckOutcome();
  StepHints(t);
  SoundFrame.rollSpeed = Ball.onGround ? SpeedAcrossGravity(Ball.gravity, Ball.vx, Ball.vy) : 0;
}
