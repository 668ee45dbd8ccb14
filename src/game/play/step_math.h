// step_math: the trigonometry of the game step, the same bits on every
// machine. The C library's sinf, cosf and atan2f may differ in the last bit
// between libraries (glibc, the browser's) and even between processors, and a
// swing grows one bit into a different run, so a replay would not finish
// alike everywhere. These are built from +, -, *, / and sqrt alone, which
// round the same on every IEEE machine: each computes in double precision
// and rounds once to float, within 1 ulp of the true value (all but a rare
// few correctly rounded).
//   StepSin(x), StepCos(x)   sine and cosine of x radians; accurate for |x| < 2^24
//   StepAtan2(y, x)          the angle of (x, y) in -pi..pi, as atan2f, signed zeros included
#pragma once

float StepSin(float x);
float StepCos(float x);
float StepAtan2(float y, float x);
