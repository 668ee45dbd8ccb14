// The plans of a new player for levels 1 to 5: what the hint says and the
// layout in view suggests, one plan per way a player might read them.
#include "newplayer.h"

#include "game/files/replay.h"

static const int L = replaykey_left;
static const int R = replaykey_right;
static const int J = replaykey_jump;
static const float NoAim = -1;

// Steps used by many plans.
#define ROLL_RIGHT_TO(x) {R, 0, NoAim, 0, until_right, x}
#define ROLL_LEFT_TO(x) {L, 0, NoAim, 0, until_left, x}
#define JUMP_RIGHT(frames) {R | J, 0, NoAim, 0, until_frames, frames}
#define HOOK_TO_TOP(x, y) {R, 1, x, y, until_top, 0}
#define LET_GO_BRIEFLY {R, 0, NoAim, 0, until_frames, 4}
#define HOOK_TO_BEFORE_TOP(x, y, lead) {R, 1, x, y, until_top, lead}
#define FALL_RIGHT {R, 0, NoAim, 0, until_ground, 0}
#define CLIMB_OUT_LEFT {L | J, 0, NoAim, 0, until_frames, 20}, {L, 0, NoAim, 0, until_ground, 0}

// Level 1: over each of three blocks, rolling to x and jumping for frames.
#define L1_STAGES(x1, f1, x2, f2, x3, f3) {                                \
    {1, 0, 7, 12, 3, {ROLL_RIGHT_TO(x1), JUMP_RIGHT(f1), FALL_RIGHT}},     \
    {7, 0, 11, 12, 3, {ROLL_RIGHT_TO(x2), JUMP_RIGHT(f2), FALL_RIGHT}},    \
    {11, 0, 15, 12, 3, {ROLL_RIGHT_TO(x3), JUMP_RIGHT(f3), FALL_RIGHT}},   \
    {15, 0, 23, 12, 1, {ROLL_RIGHT_TO(23)}}}

// Level 2: at each edge or ledge roll to its x and jump, for low frames at
// the first edge and off the highest ledge, high frames elsewhere; out of
// the first pit, jump from where the ball lies.
#define L2_STAGES(x1, x3, x4, x5, x6, low, high) {                                              \
    {1, 0, 10, 12, 3, {ROLL_RIGHT_TO(x1), JUMP_RIGHT(low), FALL_RIGHT}},                       \
    {10, 12, 14, 15, 3, {{0, 0, NoAim, 0, until_frames, 10}, JUMP_RIGHT(high), FALL_RIGHT}},   \
    {14, 0, 18, 12, 3, {ROLL_RIGHT_TO(x3), JUMP_RIGHT(high), FALL_RIGHT}},                     \
    {18, 0, 24, 9, 3, {ROLL_RIGHT_TO(x4), JUMP_RIGHT(high), FALL_RIGHT}},                      \
    {24, 0, 35, 6, 3, {ROLL_RIGHT_TO(x5), JUMP_RIGHT(low), FALL_RIGHT}},                       \
    {35, 0, 49, 9, 3, {ROLL_RIGHT_TO(x6), JUMP_RIGHT(high), ROLL_RIGHT_TO(48)}}}

// Level 3: roll to the gap, jump after x, hook (hookX, 2.5) on the ceiling
// after frames of the jump, let go at the top; out of the gap, climb back.
#define L3_START(x, frames, hookX) \
  {1, 0, 13, 10, 4, {ROLL_RIGHT_TO(x), JUMP_RIGHT(frames), HOOK_TO_TOP(hookX, 2.5f), FALL_RIGHT}}
#define L3_PIT {13, 10, 26, 15, 2, {CLIMB_OUT_LEFT}}
#define L3_FAR {25, 0, 39, 10, 1, {ROLL_RIGHT_TO(38)}}

// Level 4: jump after x, hook the first pillar at (firstX, 12.5) after frames
// of the jump, let go at its top and hook the second at (secondX, secondY)
// (7.5: its lower end, which is at the top of the window at that moment; a
// player who does not see it aims up at a point above), let go at the top
// and fall holding fall; back on the floor, go back to try again.
#define L4_START(x, frames, firstX, secondX, secondY, fall) \
  {1, 16, 12, 19, 6, {ROLL_RIGHT_TO(x), JUMP_RIGHT(frames), HOOK_TO_TOP(firstX, 12.5f), LET_GO_BRIEFLY, \
                      HOOK_TO_TOP(secondX, secondY), {fall, 0, NoAim, 0, until_ground, 0}}}
#define L4_LEDGE {21, 0, 43, 14, 1, {ROLL_RIGHT_TO(42)}}
#define L4_BACK(x) {12, 16, 21, 19, 1, {{L, 0, NoAim, 0, until_left, x}}}

// Level 5: jump after x, swing as swing says, fall onto the ledge; out of
// the pit, climb back.
#define L5_START(x, swing) {1, 0, 11, 15, 4, {ROLL_RIGHT_TO(x), JUMP_RIGHT(8), swing, FALL_RIGHT}}
#define L5_PIT {11, 14, 22, 18, 3, {ROLL_LEFT_TO(12.5f), CLIMB_OUT_LEFT}}
#define L5_LEDGE {22, 0, 45, 13, 1, {ROLL_RIGHT_TO(44)}}

const Plan Plans[] = {
  {1, "roll right, jump before each block", 4, L1_STAGES(5.5f, 15, 9.8f, 18, 13.8f, 22)},
  {1, "roll into each block, then a short jump", 4, L1_STAGES(6.3f, 8, 10.3f, 8, 14.3f, 8)},
  {2, "roll right, held jump at each edge and ledge", 6, L2_STAGES(8.8f, 16.3f, 22.3f, 28.6f, 38.3f, 20, 25)},
  {2, "roll right, short jumps, into each ledge", 6, L2_STAGES(9.3f, 17.3f, 23.3f, 29, 39.3f, 10, 12)},
  {3, "jump at the edge, hook the nearest block above", 3, {L3_START(10.5f, 8, 17.5f), L3_PIT, L3_FAR}},
  {3, "jump at the edge, hook the ceiling ahead", 3, {L3_START(10.5f, 8, 19.5f), L3_PIT, L3_FAR}},
  {3, "jump at the edge, hook the middle of the ceiling", 3, {L3_START(10.5f, 8, 23), L3_PIT, L3_FAR}},
  {3, "jump early, hook the nearest block above", 3, {L3_START(7, 8, 17.5f), L3_PIT, L3_FAR}},
  {3, "jump at the very edge, hook the nearest block", 3, {L3_START(12, 8, 17.5f), L3_PIT, L3_FAR}},
  {3, "hook the nearest block as the jump begins", 3, {L3_START(10.5f, 3, 17.5f), L3_PIT, L3_FAR}},
  {3, "hook the nearest block late in the jump", 3, {L3_START(10.5f, 16, 17.5f), L3_PIT, L3_FAR}},
  {4, "hook each pillar in the middle", 3, {L4_START(5.5f, 10, 10.5f, 16, 7.5f, R), L4_LEDGE, L4_BACK(4)}},
  {4, "jump under the first pillar, hook it straight above", 3, {L4_START(8, 10, 9.5f, 16, 7.5f, R), L4_LEDGE, L4_BACK(6.5f)}},
  {4, "hook the near end of each pillar", 3, {L4_START(5.5f, 10, 11.5f, 15.5f, 7.5f, R), L4_LEDGE, L4_BACK(4)}},
  {4, "jump early, hook the far end of the second pillar", 3, {L4_START(4, 10, 10.5f, 16.5f, 7.5f, R), L4_LEDGE, L4_BACK(2.5f)}},
  {4, "hook the first pillar as the jump begins", 3, {L4_START(5.5f, 4, 10.5f, 16, 7.5f, R), L4_LEDGE, L4_BACK(4)}},
  {4, "hook the first pillar late in the jump", 3, {L4_START(5.5f, 18, 10.5f, 16, 7.5f, R), L4_LEDGE, L4_BACK(4)}},
  {4, "let the last fall happen without steering", 3, {L4_START(5.5f, 10, 10.5f, 16, 7.5f, 0), L4_LEDGE, L4_BACK(4)}},
  {4, "not seeing the second pillar, aim straight up", 3, {L4_START(5.5f, 10, 10.5f, 15, 2, R), L4_LEDGE, L4_BACK(4)}},
  {4, "not seeing the second pillar, aim up and right", 3, {L4_START(5.5f, 10, 10.5f, 17, 3, R), L4_LEDGE, L4_BACK(4)}},
  {5, "hook the block ahead, let go at the top", 3, {L5_START(10, HOOK_TO_TOP(16.5f, 7.5f)), L5_PIT, L5_LEDGE}},
  {5, "hook the block ahead, let go before the top", 3, {L5_START(10, HOOK_TO_BEFORE_TOP(16.5f, 7.5f, 8)), L5_PIT, L5_LEDGE}},
  {5, "hook the near end, let go at the top", 3, {L5_START(10, HOOK_TO_TOP(15.5f, 7.5f)), L5_PIT, L5_LEDGE}},
  {5, "hook the near end, let go before the top", 3, {L5_START(10, HOOK_TO_BEFORE_TOP(15.5f, 7.5f, 8)), L5_PIT, L5_LEDGE}},
  {5, "jump at the very edge, let go before the top", 3, {L5_START(10.3f, HOOK_TO_BEFORE_TOP(16.5f, 7.5f, 8)), L5_PIT, L5_LEDGE}},
  {5, "hook the corner, let go at the top", 3, {L5_START(10, HOOK_TO_TOP(15.2f, 7.8f)), L5_PIT, L5_LEDGE}},
  {5, "hook the far end, let go before the top", 3, {L5_START(10, HOOK_TO_BEFORE_TOP(17.5f, 7.5f, 8)), L5_PIT, L5_LEDGE}},
};
const int PlanCount = sizeof(Plans) / sizeof(Plans[0]);
