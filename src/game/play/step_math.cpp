// step_math: sine, cosine and atan2 from the four operations and sqrt, in
// double precision, rounded once to float.
#include "game/play/step_math.h"

#include <cmath>

const double Pi = 3.141592653589793;        // pi rounded to double
const double HalfPi = 1.5707963267948966;   // Pi / 2, exactly
const double TwoOverPi = 0.6366197723675814;

// pi/2 as three parts: the first two have 29 significant bits, so k times
// either is exact for every whole k below 2^24; the third is the rest.
const double HalfPiHigh = 0x1.921fb54p+0;
const double HalfPiMid = 0x1.10b4612p-30;
const double HalfPiLow = -0x1.676733ae8fe48p-60;

// Taylor coefficients over |r| <= pi/4: the first term left out is below
// 1e-19 there, far under double rounding. The factorials are exact in double.
const double SinTerms[] = {-1.0 / 6, 1.0 / 120, -1.0 / 5040, 1.0 / 362880, -1.0 / 39916800,
                           1.0 / 6227020800.0, -1.0 / 1307674368000.0, 1.0 / 355687428096000.0};
const int SinTermCount = sizeof SinTerms / sizeof SinTerms[0];
const double CosTerms[] = {-1.0 / 2, 1.0 / 24, -1.0 / 720, 1.0 / 40320, -1.0 / 3628800,
                           1.0 / 479001600, -1.0 / 87178291200.0, 1.0 / 20922789888000.0,
                           -1.0 / 6402373705728000.0};
const int CosTermCount = sizeof CosTerms / sizeof CosTerms[0];

// atan's series after two halvings, |u| <= tan(pi/16) < 0.2: the first term
// left out, u^25 / 25, is below 1e-18 of u.
const double AtanTerms[] = {1,          -1.0 / 3,  1.0 / 5,  -1.0 / 7,  1.0 / 9,  -1.0 / 11,
                            1.0 / 13,   -1.0 / 15, 1.0 / 17, -1.0 / 19, 1.0 / 21, -1.0 / 23};
const int AtanTermCount = sizeof AtanTerms / sizeof AtanTerms[0];
const int AtanHalvings = 2;

// r + r^3 (-1/3!) + r^5 / 5! ... for |r| <= pi/4.
static double SinNear(double r)
{
  double r2 = r * r;
  double p = SinTerms[SinTermCount - 1];
  for (int i = SinTermCount - 2; i >= 0; i--)
    p = p * r2 + SinTerms[i];
  return r + r * (r2 * p);
}

// 1 - r^2 / 2! + r^4 / 4! ... for |r| <= pi/4.
static double CosNear(double r)
{
  double r2 = r * r;
  double p = CosTerms[CosTermCount - 1];
  for (int i = CosTermCount - 2; i >= 0; i--)
    p = p * r2 + CosTerms[i];
  return 1 + r2 * p;
}

// x = k pi/2 + r with |r| <= pi/4 (a hair more at the rounding of k);
// quarter is k mod 4 as 0..3. Everything stays in double, so a huge or
// non-finite x needs no conversion to int: NaN flows through to the result.
static double Reduce(float x, double* quarter)
{
  double xd = x;
  double k = floor(xd * TwoOverPi + 0.5);
  *quarter = k - 4 * floor(k / 4);
  return ((xd - k * HalfPiHigh) - k * HalfPiMid) - k * HalfPiLow;
}

float StepSin(float x)
{
  if (x == 0)
    return x;   // keeps the sign of zero
  double q;
  double r = Reduce(x, &q);
  double v = q == 0 ? SinNear(r) : q == 1 ? CosNear(r) : q == 2 ? -SinNear(r) : -CosNear(r);
  return (float)v;
}

float StepCos(float x)
{
  double q;
  double r = Reduce(x, &q);
  double v = q == 0 ? CosNear(r) : q == 1 ? -SinNear(r) : q == 2 ? -CosNear(r) : SinNear(r);
  return (float)v;
}

// atan(z) for 0 <= z <= 1: halved twice by atan(z) = 2 atan(z / (1 + sqrt(1 + z^2))),
// then the alternating series.
static double AtanUnit(double z)
{
  double u = z;
  for (int i = 0; i < AtanHalvings; i++)
    u = u / (1 + sqrt(1 + u * u));
  double u2 = u * u;
  double p = AtanTerms[AtanTermCount - 1];
  for (int i = AtanTermCount - 2; i >= 0; i--)
    p = p * u2 + AtanTerms[i];
  return (1 << AtanHalvings) * (u * p);
}

float StepAtan2(float y, float x)
{
  if (x != x || y != y)
    return x + y;
  double ax = fabs((double)x), ay = fabs((double)y);
  double a;
  if (ay == 0) {
    a = std::signbit(x) ? Pi : 0;
  } else if (std::isinf(ax) && std::isinf(ay)) {
    a = std::signbit(x) ? 3 * Pi / 4 : Pi / 4;
  } else {
    a = ay <= ax ? AtanUnit(ay / ax) : HalfPi - AtanUnit(ax / ay);
    if (std::signbit(x))
      a = Pi - a;
  }
  return (float)(std::signbit(y) ? -a : a);
}
