// Ball movement: gravity, steering, jump, tether, ground contact and camera.
#include <gtest/gtest.h>

#include <cmath>

#include "game/base/screen.h"
#include "game/play/collision.h"
#include "game/run/update.h"
#include "play_setup.h"

static void Frames(int n, float t)
{
  for (int i = 0; i < n; i++)
    StepPlay(t);
}

static void Hold(int key) { InputState.KeyState[key] = InputHeld; }

TEST(Update, FreeFallReachesItsTerminalSpeed)
{
  ResetPlay(20, 20, 10.5f, 5.5f);
  StepPlay(1);
  EXPECT_NEAR(Ball.vy, 0.018f, 2e-6);
  EXPECT_NEAR(Ball.y, 5.52f, 1e-6);
  EXPECT_EQ(Ball.vx, 0);
  Frames(300, 1);
  EXPECT_NEAR(Ball.vy, 0.18f, 1e-4);
  EXPECT_FALSE(Ball.onGround);
}

// One frame from rest in the middle of an empty level with the given gravity
// and keys held.
static void SteerOnce(int gravity, int keyA, int keyB)
{
  ResetPlay(20, 20, 10.5f, 5.5f);
  Ball.gravity = gravity;
  Hold(keyA);
  Hold(keyB);
  StepPlay(1);
}

TEST(Update, SteeringStrengthAndDirection)
{
  // Right and Up: strength 1 along the diagonal; released with gravity Down
  // only the x part counts.
  SteerOnce(GravityDown, KeyRight, KeyW);
  EXPECT_NEAR(Ball.vx, 0.013f * 0.70710677f * 0.9f, 1e-6);
  EXPECT_NEAR(Ball.vy, 0.018f, 2e-6);
  SteerOnce(GravityDown, KeyLeft, KeyD);  // opposite keys cancel
  EXPECT_EQ(Ball.vx, 0);
  SteerOnce(GravityDown, KeyUp, KeyUp);   // along gravity alone: nothing
  EXPECT_EQ(Ball.vx, 0);
  EXPECT_NEAR(Ball.vy, 0.018f, 2e-6);
  // Gravity Left: the y part counts and the x part does not.
  SteerOnce(GravityLeft, KeyRight, KeyUp);
  EXPECT_NEAR(Ball.vy, -0.013f * 0.70710677f * 0.9f, 1e-6);
  EXPECT_NEAR(Ball.vx, -0.018f, 2e-6);
}

// A floor along row 10 of a 20 x 20 level, the ball resting on it.
static void RestOnFloor()
{
  ResetPlay(20, 20, 10.5f, 9.0f);
  for (int x = 0; x < 20; x++)
    SetCell(x, 10, maptype_blocknormal);
  Frames(60, 1);
  ASSERT_TRUE(Ball.onGround);
  ASSERT_FLOAT_EQ(Ball.y, 9.4f);
}

TEST(Update, JumpFromTheGroundAndBoostWhileRising)
{
  RestOnFloor();
  StepPlay(1);
  EXPECT_TRUE(Ball.onGround);
  Hold(KeySpace);
  StepPlay(1);
  EXPECT_NEAR(Ball.y, 9.4f - 0.425f, 1e-5);
  EXPECT_NEAR(Ball.vy, -0.425f * 0.9f, 1e-5);
  EXPECT_FALSE(Ball.onGround);

  // Rising with the key held: 1.105 per frame on top of gravity, at any t.
  for (float t : {1.0f, 0.5f, 2.0f}) {
    BallRecord before = Ball;
    InputState.KeyState[KeySpace] = InputUp;
    StepPlay(t);
    float plain = Ball.vy;
    Ball = before;
    Hold(KeySpace);
    StepPlay(t);
    EXPECT_NEAR(Ball.vy, plain * 1.105f, 1e-5) << "t = " << t;
    Ball = before;
  }
}

// Walls around an 11 x 11 level whose inside turns gravity to one side.
TEST(Update, GroundContactForAllFourGravities)
{
  const int cells[4] = {maptype_gravitydown, maptype_gravityleft, maptype_gravityup, maptype_gravityright};
  const int dirs[4] = {GravityDown, GravityLeft, GravityUp, GravityRight};
  for (int i = 0; i < 4; i++) {
    ResetPlay(11, 11, 5.5f, 5.5f);
    for (int x = 0; x < 11; x++)
      for (int y = 0; y < 11; y++)
        SetCell(x, y, cells[i]);
    WallIn(maptype_blocknormal);
    StepPlay(1);
    EXPECT_EQ(Ball.gravity, dirs[i]);
    EXPECT_FALSE(Ball.onGround) << "direction " << i;
    Frames(200, 1);
    EXPECT_TRUE(Ball.onGround) << "direction " << i;
    float wallX[4] = {5.5f, 1.6f, 5.5f, 9.4f};
    float wallY[4] = {9.4f, 5.5f, 1.6f, 5.5f};
    EXPECT_NEAR(Ball.x, wallX[i], 1e-4) << "direction " << i;
    EXPECT_NEAR(Ball.y, wallY[i], 1e-4) << "direction " << i;

    // The jump leaves that wall at 0.425 per frame.
    float oldX = Ball.x, oldY = Ball.y;
    Hold(KeySpace);
    StepPlay(1);
    EXPECT_NEAR(fabsf(Ball.x - oldX) + fabsf(Ball.y - oldY), 0.425f, 1e-4) << "direction " << i;
    EXPECT_FALSE(Ball.onGround) << "direction " << i;
  }
}

// Ball at (20.5, 40.5) in a 40 x 120 level, pointer at the top edge of the
// window, so the tether is fired straight up.
static void AimUp()
{
  ResetPlay(40, 120, 20.5f, 40.5f);
  InputState.MouseY = 0;
  InputState.MouseButtonState[ButtonLeft] = InputPressed;
}

TEST(Update, TetherAttachesOnlyToTheRightBlocks)
{
  AimUp();
  SetCell(20, 30, maptype_blocknoswing);
  SetCell(20, 20, maptype_blocknormal);
  StepPlay(1);
  EXPECT_FALSE(Ball.attached);
  EXPECT_EQ(Ball.anchorX, -10);
  EXPECT_EQ(Ball.anchorY, -10);
  EXPECT_EQ(Ball.tetherLength, 0);

  for (int type : {maptype_blockghost, maptype_blockharmful, maptype_blocknormal}) {
    AimUp();
    SetCell(20, 30, type);
    StepPlay(1);
    EXPECT_TRUE(Ball.attached) << "type " << type;
    EXPECT_NEAR(Ball.anchorX, 20.5f, 1e-3);
    EXPECT_GT(Ball.anchorY, 30.94f);
    EXPECT_LE(Ball.anchorY, 31.0f);
    EXPECT_NEAR(Ball.tetherLength, 9.5f, 0.06f);
    EXPECT_NEAR(Distance(Ball.x, Ball.y, Ball.anchorX, Ball.anchorY), Ball.tetherLength, 1e-4);
  }

  // 60 units away is beyond the ray; 45 is within it.
  AimUp();
  Ball.y = Camera.camY = 100.5f;
  SetCell(20, 39, maptype_blocknormal);
  StepPlay(1);
  EXPECT_FALSE(Ball.attached);
  EXPECT_EQ(Ball.anchorY, -10);
  SetCell(20, 54, maptype_blocknormal);
  StepPlay(1);
  EXPECT_TRUE(Ball.attached);
}

TEST(Update, TetherHoldsWrapsAndReleases)
{
  AimUp();
  SetCell(20, 30, maptype_blocknormal);
  StepPlay(1);
  ASSERT_TRUE(Ball.attached);
  InputState.MouseButtonState[ButtonLeft] = InputHeld;
  float ax = Ball.anchorX, ay = Ball.anchorY, len = Ball.tetherLength;
  Hold(KeyRight);
  Frames(30, 1);
  EXPECT_TRUE(Ball.attached);
  EXPECT_EQ(Ball.anchorX, ax);
  EXPECT_EQ(Ball.anchorY, ay);
  EXPECT_EQ(Ball.tetherLength, len);
  EXPECT_GT(Ball.x, 20.6f);
  EXPECT_NEAR(Distance(Ball.x, Ball.y, ax, ay), len, 1e-3);

  // A block between ball and anchor takes the anchor and shortens the tether.
  InputState.KeyState[KeyRight] = InputUp;
  float midX = (Ball.x + ax) / 2, midY = (Ball.y + ay) / 2;
  SetCell((int)midX, (int)midY, maptype_blocknormal);
  StepPlay(1);
  EXPECT_TRUE(Ball.attached);
  EXPECT_EQ(CellUnder(Ball.anchorX, Ball.anchorY), maptype_blocknormal);
  EXPECT_LT(Ball.tetherLength, len * 0.6f);
  EXPECT_NEAR(Distance(Ball.x, Ball.y, Ball.anchorX, Ball.anchorY), Ball.tetherLength, 1e-3);

  InputState.MouseButtonState[ButtonLeft] = InputUp;
  StepPlay(1);
  EXPECT_FALSE(Ball.attached);
  EXPECT_EQ(Ball.anchorX, -10);
  EXPECT_EQ(Ball.tetherLength, 0);
}

// A ball held still on a tether to the block 5 cells to its right, level
// with the anchor, so a cast runs straight along the row.
static void HoldAlongRow()
{
  ResetPlay(40, 40, 20.5f, 20.5f);
  SetCell(26, 20, maptype_blocknormal);
  InputState.MouseX = 800;
  InputState.MouseButtonState[ButtonLeft] = InputPressed;
  StepPlay(1);
  ASSERT_TRUE(Ball.attached);
  Ball.x = 20.5f;
  Ball.y = Ball.anchorY;
  Ball.vx = Ball.vy = 0;
}

// Anchor level with the ball, 5 units to its right: the first attached frame
// is a free fall under the lighter gravity and drag of a held ball.
TEST(Update, AttachedBallFeelsTetherGravityAndDrag)
{
  HoldAlongRow();
  ASSERT_TRUE(Ball.attached);
  Ball.tetherLength = Ball.anchorX - Ball.x;
  StepPlay(1);
  EXPECT_NEAR(Ball.vy, 0.018f * (1 - 0.012f), 2e-5);

  // Rising on the tether, the jump key gives no boost.
  Ball.vy = -0.2f;
  BallRecord before = Ball;
  StepPlay(1);
  float plain = Ball.vy;
  Ball = before;
  Hold(KeySpace);
  StepPlay(1);
  EXPECT_FLOAT_EQ(Ball.vy, plain);
}

// A held tether's cast that lands exactly AnchorKeepRadius (0.5) short of its
// anchor keeps the anchor; one further off takes the hit.
TEST(Update, AHitAtTheKeepRadiusKeepsTheAnchor)
{
  HoldAlongRow();
  ASSERT_TRUE(Ball.attached);
  Ball.anchorX += 1;
  BallRecord held = Ball;
  StepPlay(1);
  float hit = Ball.anchorX;
  ASSERT_LT(hit, held.anchorX);
  Ball = held;
  Ball.anchorX = hit + 0.5f;
  StepPlay(1);
  EXPECT_EQ(Ball.anchorX, hit + 0.5f);
}

// Right after StartLevel the anchor is (0, 0) with length 0. A first shot
// that lands near it must not keep that stale anchor and pull the ball onto it.
TEST(Update, FirstShotNearTheStartAnchorTakesItsOwnLength)
{
  ResetPlay(10, 10, -2.0f, 0.3f);
  SetCell(0, 0, maptype_blocknormal);
  Ball.anchorX = Ball.anchorY = 0;
  Ball.gravity = GravityUp;
  InputState.MouseX = 800;
  InputState.MouseButtonState[ButtonLeft] = InputPressed;
  StepPlay(1);
  ASSERT_TRUE(Ball.attached);
  EXPECT_NEAR(Ball.tetherLength, 2.0f, 0.06f);
  EXPECT_LT(Ball.x, -1.8f);
}

TEST(Update, AimAndCameraFollowTheBall)
{
  // The older camera, that replays of versions 1 and 2 keep, aims between aim and ball.
  ResetPlay(20, 20, 10.5f, 5.5f);
  Camera.leads = false;
  Camera.camX = 4;
  Camera.camY = 3;
  StepPlay(1);
  EXPECT_FLOAT_EQ(AimPoint.aimX, 4);
  EXPECT_FLOAT_EQ(AimPoint.aimY, 3);
  EXPECT_NEAR(Camera.camX, 4 + (0.2f * 4 + 0.8f * Ball.x - 4) * 0.075f, 1e-5);
  EXPECT_EQ(Camera.viewHeight, PlayViewHeight);

  // At t = 2 the camera closes twice the share of the gap.
  Camera.camX = Camera.camY = 0;
  StepPlay(2);
  EXPECT_NEAR(Camera.camX, 0.8f * Ball.x * 0.15f, 1e-4);

  // The leading camera, the pointer centred, makes for the ball itself.
  ResetPlay(20, 20, 10.5f, 5.5f);
  Camera.camX = 4;
  StepPlay(1);
  EXPECT_NEAR(Camera.camX, 4 + (Ball.x - 4) * 0.075f, 1e-5);
}

// A zero time step or an unknown window size must not turn the ball or the
// camera into NaN.
TEST(Update, DegenerateInputsStayFinite)
{
  ResetPlay(20, 20, 10.5f, 5.5f);
  StepPlay(0);
  StepPlay(NAN);
  ScreenWidth = ScreenHeight = 0;
  AspectRatio = NAN;
  InputState.MouseButtonState[ButtonLeft] = InputPressed;
  Frames(5, 1);
  EXPECT_TRUE(std::isfinite(Ball.x) && std::isfinite(Ball.y));
  EXPECT_TRUE(std::isfinite(Ball.vx) && std::isfinite(Ball.vy));
  EXPECT_TRUE(std::isfinite(Camera.camX) && std::isfinite(Camera.camY));
  EXPECT_GT(Ball.y, 5.5f);
}
