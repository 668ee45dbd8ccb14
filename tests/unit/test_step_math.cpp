// The game step's own sine, cosine and atan2 stay within a hair over half an
// ulp of the true value (the double-precision C library's, rounded) over
// generated arguments of every size and sign, and give atan2's exact
// answers on the axes, signed zeros and infinities included.
#include "game/play/step_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

static const int Samples = 200000;
static const double MaxUlps = 0.501;   // correct rounding, give or take the reference's own error

// |got - want| in units of the last place of want rounded to float.
static double UlpsOff(float got, double want)
{
  float w = fabsf((float)want);
  double ulp = (double)nextafterf(w, INFINITY) - w;
  return fabs((double)got - want) / ulp;
}

static bool SameBits(float a, float b)
{
  return memcmp(&a, &b, sizeof a) == 0;
}

TEST(StepMath, SineAndCosineAreCorrectlyRoundedAtAnySize) {
  std::mt19937 gen(11);
  std::uniform_real_distribution<double> unit(-1, 1), power(-20, 24);
  double worstSin = 0, worstCos = 0;
  for (int i = 0; i < Samples; i++) {
    float x = i % 3 == 0 ? (float)(unit(gen) * 2 * M_PI)                   // the step's own range
            : i % 3 == 1 ? (float)(unit(gen) * exp2(power(gen)))           // every size
                         : (float)(M_PI_2 * (int)(unit(gen) * 64)) * (1 + (float)unit(gen) * 1e-6f);   // near k pi/2
    worstSin = fmax(worstSin, UlpsOff(StepSin(x), sin((double)x)));
    worstCos = fmax(worstCos, UlpsOff(StepCos(x), cos((double)x)));
  }
  EXPECT_LE(worstSin, MaxUlps);
  EXPECT_LE(worstCos, MaxUlps);
  EXPECT_TRUE(SameBits(StepSin(-0.0f), -0.0f) && SameBits(StepSin(0.0f), 0.0f));
  EXPECT_EQ(StepCos(0), 1);
  EXPECT_TRUE(std::isnan(StepSin(INFINITY)) && std::isnan(StepCos(NAN)));
}

TEST(StepMath, Atan2IsCorrectlyRoundedInEveryQuadrantAndExactOnTheAxes) {
  std::mt19937 gen(12);
  std::uniform_real_distribution<double> unit(-1, 1), power(-30, 30);
  double worst = 0;
  for (int i = 0; i < Samples; i++) {
    float y = (float)(unit(gen) * exp2(power(gen)));
    float x = i % 2 ? (float)(unit(gen) * exp2(power(gen))) : y * (float)(1 + unit(gen) * 1e-3);   // near the diagonals
    worst = fmax(worst, UlpsOff(StepAtan2(y, x), atan2((double)y, (double)x)));
  }
  EXPECT_LE(worst, MaxUlps);
  // On the axes and at infinity every C library's answer is exact.
  const float edges[] = {0.0f, -0.0f, 1.0f, -3e-39f, 2e30f, INFINITY, -INFINITY};
  for (float y : edges)
    for (float x : edges) {
      if (y == 0 || x == 0 || std::isinf(y) || std::isinf(x)) {
        EXPECT_TRUE(SameBits(StepAtan2(y, x), atan2f(y, x))) << "atan2(" << y << ", " << x << ")";
      }
    }
  EXPECT_TRUE(std::isnan(StepAtan2(NAN, 1)) && std::isnan(StepAtan2(1, NAN)));
}
