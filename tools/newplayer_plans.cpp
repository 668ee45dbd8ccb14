// The plans of a new player for levels 1 to 5: what the hint says and the
// layout in view suggests, one plan per way a player might read them.
#include "newplayer.h"

#include "game/replay.h"

static const int L = replaykey_left;
static const int R = replaykey_right;
static const int J = replaykey_jump;
static const float NoAim = -1;

// Steps used by many plans.
#define ROLL_RIGHT_TO(x) {R, 0, NoAim, 0, until_right, x}
#define JUMP_RIGHT(frames) {R | J, 0, NoAim, 0, until_frames, frames}
#define HOOK_TO_TOP(x, y) {R, 1, x, y, until_top, 0}
#define LET_GO_BRIEFLY {R, 0, NoAim, 0, until_frames, 4}
#define HOOK(x, y) {R, 1, x, y, until_caught, 0}
#define SWING_TOWARD(x, y) {R, 1, x, y, until_heading, 0}
#define FALL_RIGHT {R, 0, NoAim, 0, until_ground, 0}

const Plan Plans[] = {
  {1, "roll right, jump before each block", 4, {
    {1, 0, 7, 12, 3, {ROLL_RIGHT_TO(5.5f), JUMP_RIGHT(15), FALL_RIGHT}},
    {7, 0, 11, 12, 3, {ROLL_RIGHT_TO(9.8f), JUMP_RIGHT(18), FALL_RIGHT}},
    {11, 0, 15, 12, 3, {ROLL_RIGHT_TO(13.8f), JUMP_RIGHT(22), FALL_RIGHT}},
    {15, 0, 23, 12, 1, {ROLL_RIGHT_TO(23)}},
  }},
  {1, "roll into each block, then a short jump", 4, {
    {1, 0, 7, 12, 3, {ROLL_RIGHT_TO(6.3f), JUMP_RIGHT(8), FALL_RIGHT}},
    {7, 0, 11, 12, 3, {ROLL_RIGHT_TO(10.3f), JUMP_RIGHT(8), FALL_RIGHT}},
    {11, 0, 15, 12, 3, {ROLL_RIGHT_TO(14.3f), JUMP_RIGHT(8), FALL_RIGHT}},
    {15, 0, 23, 12, 1, {ROLL_RIGHT_TO(23)}},
  }},
  {2, "roll right, held jump at each edge and ledge", 6, {
    {1, 0, 10, 12, 3, {ROLL_RIGHT_TO(8.8f), JUMP_RIGHT(20), FALL_RIGHT}},
    {10, 12, 14, 15, 3, {{0, 0, NoAim, 0, until_frames, 10}, JUMP_RIGHT(25), FALL_RIGHT}},
    {14, 0, 18, 12, 3, {ROLL_RIGHT_TO(16.3f), JUMP_RIGHT(25), FALL_RIGHT}},
    {18, 0, 24, 9, 3, {ROLL_RIGHT_TO(22.3f), JUMP_RIGHT(25), FALL_RIGHT}},
    {24, 0, 35, 6, 3, {ROLL_RIGHT_TO(28.6f), JUMP_RIGHT(20), FALL_RIGHT}},
    {35, 0, 49, 9, 3, {ROLL_RIGHT_TO(38.3f), JUMP_RIGHT(25), ROLL_RIGHT_TO(48)}},
  }},
  {2, "roll right, short jumps, into each ledge", 6, {
    {1, 0, 10, 12, 3, {ROLL_RIGHT_TO(9.3f), JUMP_RIGHT(10), FALL_RIGHT}},
    {10, 12, 14, 15, 3, {{0, 0, NoAim, 0, until_frames, 10}, JUMP_RIGHT(12), FALL_RIGHT}},
    {14, 0, 18, 12, 3, {ROLL_RIGHT_TO(17.3f), JUMP_RIGHT(12), FALL_RIGHT}},
    {18, 0, 24, 9, 3, {ROLL_RIGHT_TO(23.3f), JUMP_RIGHT(12), FALL_RIGHT}},
    {24, 0, 35, 6, 3, {ROLL_RIGHT_TO(29), JUMP_RIGHT(10), FALL_RIGHT}},
    {35, 0, 49, 9, 3, {ROLL_RIGHT_TO(39.3f), JUMP_RIGHT(12), ROLL_RIGHT_TO(48)}},
  }},
  {3, "hook the ceiling ahead, let go at the top", 3, {
    {1, 0, 13, 10, 4, {ROLL_RIGHT_TO(10.5f), JUMP_RIGHT(8), HOOK_TO_TOP(17, 2.5f), FALL_RIGHT}},
    {13, 10, 27, 15, 3, {JUMP_RIGHT(8), HOOK_TO_TOP(24, 2.5f), FALL_RIGHT}},
    {26, 0, 39, 10, 1, {ROLL_RIGHT_TO(38)}},
  }},
  {3, "hook the block straight above, let go at the top", 3, {
    {1, 0, 13, 10, 4, {ROLL_RIGHT_TO(10.5f), JUMP_RIGHT(8), HOOK_TO_TOP(12, 2.5f), FALL_RIGHT}},
    {13, 10, 27, 15, 3, {JUMP_RIGHT(8), HOOK_TO_TOP(24, 2.5f), FALL_RIGHT}},
    {26, 0, 39, 10, 1, {ROLL_RIGHT_TO(38)}},
  }},
  {3, "hook the middle of the ceiling, let go at the top", 3, {
    {1, 0, 13, 10, 4, {ROLL_RIGHT_TO(10.5f), JUMP_RIGHT(8), HOOK_TO_TOP(20, 2.5f), FALL_RIGHT}},
    {13, 10, 27, 15, 3, {JUMP_RIGHT(8), HOOK_TO_TOP(24, 2.5f), FALL_RIGHT}},
    {26, 0, 39, 10, 1, {ROLL_RIGHT_TO(38)}},
  }},
  {4, "hook the wall's top, let go at the top, hook the ceiling", 4, {
    {1, 0, 17, 17, 7, {ROLL_RIGHT_TO(13), JUMP_RIGHT(10), HOOK_TO_TOP(17.5f, 8.5f), LET_GO_BRIEFLY,
                       HOOK_TO_TOP(24, 0.5f), FALL_RIGHT}},
    {22, 14, 32, 19, 3, {JUMP_RIGHT(10), HOOK_TO_TOP(30, 0.5f), FALL_RIGHT}},
    {26, 0, 28, 16, 3, {JUMP_RIGHT(10), HOOK_TO_TOP(34, 0.5f), FALL_RIGHT}},
    {32, 0, 43, 14, 1, {ROLL_RIGHT_TO(42)}},
  }},
  {4, "hook the block above, let go at the top, hook the ceiling", 4, {
    {1, 0, 17, 17, 7, {ROLL_RIGHT_TO(11), JUMP_RIGHT(10), HOOK_TO_TOP(14, 3.5f), LET_GO_BRIEFLY,
                       HOOK_TO_TOP(22, 0.5f), FALL_RIGHT}},
    {22, 14, 32, 19, 3, {JUMP_RIGHT(10), HOOK_TO_TOP(30, 0.5f), FALL_RIGHT}},
    {26, 0, 28, 16, 3, {JUMP_RIGHT(10), HOOK_TO_TOP(34, 0.5f), FALL_RIGHT}},
    {32, 0, 43, 14, 1, {ROLL_RIGHT_TO(42)}},
  }},
  {5, "hook the ceiling ahead, let go at the top", 3, {
    {1, 0, 11, 15, 4, {ROLL_RIGHT_TO(9.5f), JUMP_RIGHT(8), HOOK_TO_TOP(17, 2.5f), FALL_RIGHT}},
    {11, 15, 31, 17, 2, {{L, 0, NoAim, 0, until_left, 12.5f}, {L | J, 0, NoAim, 0, until_frames, 20}}},
    {31, 0, 45, 8, 1, {ROLL_RIGHT_TO(44)}},
  }},
  {5, "hook the block straight above, let go at the top", 3, {
    {1, 0, 11, 15, 4, {ROLL_RIGHT_TO(9.5f), JUMP_RIGHT(8), HOOK_TO_TOP(12.5f, 2.5f), FALL_RIGHT}},
    {11, 15, 31, 17, 2, {{L, 0, NoAim, 0, until_left, 12.5f}, {L | J, 0, NoAim, 0, until_frames, 20}}},
    {31, 0, 45, 8, 1, {ROLL_RIGHT_TO(44)}},
  }},
  {5, "hook the far end of the ceiling, let go at the top", 3, {
    {1, 0, 11, 15, 4, {ROLL_RIGHT_TO(9.5f), JUMP_RIGHT(8), HOOK_TO_TOP(21.5f, 2.5f), FALL_RIGHT}},
    {11, 15, 31, 17, 2, {{L, 0, NoAim, 0, until_left, 12.5f}, {L | J, 0, NoAim, 0, until_frames, 20}}},
    {31, 0, 45, 8, 1, {ROLL_RIGHT_TO(44)}},
  }},
  {5, "hook the ceiling ahead, let go swinging toward the ledge", 3, {
    {1, 0, 11, 15, 5, {ROLL_RIGHT_TO(9.5f), JUMP_RIGHT(8), HOOK(17, 2.5f), SWING_TOWARD(35, 7), FALL_RIGHT}},
    {11, 15, 31, 17, 2, {{L, 0, NoAim, 0, until_left, 12.5f}, {L | J, 0, NoAim, 0, until_frames, 20}}},
    {31, 0, 45, 8, 1, {ROLL_RIGHT_TO(44)}},
  }},
};
const int PlanCount = sizeof(Plans) / sizeof(Plans[0]);
