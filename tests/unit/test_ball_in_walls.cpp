// Over many runs of made-up play on every shipped level (steering, jumps,
// tether shots, swings held and let go into walls, at the frame steps real
// play gives) no frame ends with the ball overlapping a solid cell by more
// than rounding: a fast fall, a release or the tether's pull never leaves it
// inside a wall.
#include "game/base/screen.h"
#include "game/files/level_files.h"
#include "game/files/replay_record.h"
#include "game/play/world.h"
#include "game/run/replay_run.h"
#include "game/run/update.h"
#include "random_play.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

static const int RunsPerLevel = 30;
static const int MaxFrames = 3000;
static const float Tolerance = 0.001f;   // world units of overlap left by rounding

// How deep the circle reaches into the solid cells around it: its radius
// less the distance from the centre to a cell, plus the distance to the
// cell's nearest edge when the centre is inside it.
static float OverlapWithSolid(float X, float Y, float r)
{
  float deepest = 0;
  int x0 = (int)floorf(X - r) - 1, x1 = (int)floorf(X + r) + 1, y0 = (int)floorf(Y - r) - 1, y1 = (int)floorf(Y + r) + 1;
  for (int gx = x0; gx <= x1; gx++)
    for (int gy = y0; gy <= y1; gy++) {
      int type = CellAt(gx, gy);
      if (type != maptype_blocknormal && type != maptype_blocknoswing)
        continue;
      float cx = fminf(fmaxf(X, (float)gx), gx + 1.0f), cy = fminf(fmaxf(Y, (float)gy), gy + 1.0f);
      float depth = cx == X && cy == Y ? r + fminf(fminf(X - gx, gx + 1 - X), fminf(Y - gy, gy + 1 - Y))
                                       : r - sqrtf((X - cx) * (X - cx) + (Y - cy) * (Y - cy));
      deepest = fmaxf(deepest, depth);
    }
  return deepest;
}

TEST(BallInWalls, NoFrameOfMadeUpPlayEndsWithTheBallInsideASolidCell) {
  int frames = 0;
  for (int level = 1; level <= ShippedLevelCount; level++) {
    char path[512];
    snprintf(path, sizeof path, "%s/Levels/level%d.dat", REPO_ROOT, level);
    for (int run = 0; run < RunsPerLevel; run++) {
      ASSERT_TRUE(StartLevelFile(path)) << path;
      RandomPlay play;
      StartRandomPlay(&play, (unsigned)(level * 1000 + run));
      ReplayRecording = false;
      UseReplayScreen(ReplayScreenWidth, ReplayScreenHeight);
      ResetReplayInput();
      ShowScreen(gamestate_playing);
      bool playing = true;
      for (int n = 0; n < MaxFrames && playing; n++, frames++) {
        PlayControls c;
        float t = NextRandomFrame(&play, &c);
        ApplyReplayControls(c);
        UpdateGame(t);
        float depth = OverlapWithSolid(Ball.x, Ball.y, BallRadius);
        ASSERT_LE(depth, Tolerance) << "level " << level << " run " << run << " frame " << n << ": ball at "
                                    << Ball.x << ", " << Ball.y << (Ball.attached ? " on the tether" : "");
        playing = JudgeFrame() == replayend_playing;
      }
    }
  }
  EXPECT_GT(frames, ShippedLevelCount * RunsPerLevel * 300);   // the runs lasted: most go to time-out
}
