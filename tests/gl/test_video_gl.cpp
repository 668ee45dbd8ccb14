// The projection the video set-up leaves before any screen sets its own.
#include <gtest/gtest.h>

#include <cmath>

#include <GL/gl.h>

#include "app/video.h"
#include "gl_fixture.h"

// SetUpVideo on the test window's own size: the window and its context stay,
// the perspective is the game's 45 degrees (m[5] = 1 / tan 22.5 degrees).
TEST(Video, SetUpLeavesA45DegreePerspective)
{
  SetUpVideo();
  GLfloat m[16];
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  EXPECT_NEAR(m[5], 1 / std::tan(22.5 * M_PI / 180), 1e-3);
  EXPECT_NEAR(m[0], m[5] / AspectRatio, 1e-3);
  EXPECT_EQ(ScreenWidth, GLTestW);
  EXPECT_EQ(ScreenHeight, GLTestH);
}
