// newplayer: a model of a new player on the first levels. A plan is what a
// player would do from what the screen shows (the layout in view and the
// level's hint), written as stages: each stage starts when the ball stands
// on the ground in its region and is a list of steps, each holding some keys
// and the tether button, with the pointer on a block, until something seen
// happens (the ball passes a point, lands, tops a swing). A player who fails
// a stage and lands in a region tries that stage again in the same run.
// Every stage begun is played with fresh human imprecision: the pointer off
// the block's centre, presses early or late, holds longer or shorter.
#pragma once

// What ends a step.
enum {
  until_frames = 0,   // value frames have passed
  until_right,        // the ball's centre is right of x = value
  until_left,         // ... left of x = value
  until_ground,       // the ball is on the ground
  until_top           // the ball hangs on the tether and stops rising: the top of a swing, value frames early
};

struct PlanStep {
  int keys;           // replaykey_* bits held through the step
  int button;         // 1: the tether button is held
  float aimX, aimY;   // world point the pointer is kept on; aimX < 0 leaves the pointer where it is
  int until;          // until_*
  float value;        // world units or frames, as until says
};

const int MaxPlanSteps = 8;
const int MaxPlanStages = 6;

struct PlanStage {
  float left, top, right, bottom;  // world rectangle the ball stands in when the stage starts
  int stepCount;
  PlanStep steps[MaxPlanSteps];
};

struct Plan {
  int level;          // the shipped level the plan is for
  const char* name;
  int stageCount;
  PlanStage stages[MaxPlanStages];
};

// The plans for levels 1 to 5, and how many there are.
extern const Plan Plans[];
extern const int PlanCount;
