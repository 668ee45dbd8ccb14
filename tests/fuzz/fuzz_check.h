// The check the fuzz harnesses make: it holds in every build type (release
// builds define NDEBUG, which would silence assert) and aborts so that
// libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define CHECK(cond) \
  do { \
    if (!(cond)) { \
      fprintf(stderr, "check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
      abort(); \
    } \
  } while (0)
