// tetherorb2-newplayer: how often a new player finishes the first levels.
//
//   tetherorb2-newplayer [--tries N] [--seed S] [--level N] [--show] [LEVELS_DIR]
//
// Plays every plan of newplayer_plans.cpp N times (200 unless given) on
// LEVELS_DIR/levelN.dat (Levels unless given) through the real game update,
// each try a whole run of the level with its own imprecision, and prints
// what share of the tries finish. --show also draws the first try of each
// plan: where each step ended, and the ball's path over the level, a letter
// per stage. Exits with 1 when a level misses the aim: a new player finishes
// each of levels 1 to 5 within three tries (AimWithinThree of the time).
//
// What it can say: whether the moves the screen suggests finish the level
// when done a little off, and which step fails. What it cannot: how a real
// player reads the screen, learns from a failed try or finds another way.
#include "newplayer.h"

#include "game/play/world.h"
#include "game/run/replay_run.h"
#include "game/run/update.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static const float AimSpread = 0.45f;       // world units the pointer lands off the aimed point, each axis
static const float PlaceSpread = 0.6f;      // world units early or late on a place-triggered step
static const float FrameStretch = 0.3f;     // share longer or shorter a counted hold lasts
static const int TopSpread = 5;             // frames early or late at the top of a swing
static const float TopEarlySpeed = 0.018f;  // world units per frame the rise slows each frame near the top
static const float RisingSpeed = 0.02f;     // world units per frame upward: the ball is rising
static const float SwingTravel = 1.5f;      // world units on the tether before a rise counts as a swing's
static const int StepGiveUpFrames = 240;    // a step waited on this long is given up
static const int StuckFrames = 120;         // standing where no stage starts this long: the player restarts
static const int MaxTryFrames = 3000;       // more than a run's 30 seconds at any time scale
static const int DefaultTries = 200;
static const int MapColumns = 120;          // widest level --show draws
static const float AimWithinThree = 0.95f;  // share of players finishing within three tries a level must reach

enum { try_finish = 0, try_harmed, try_timeout, try_stuck, TryEndCount };
static const char* const TryEndNames[] = {"finish", "harmed", "time up", "gave up"};
static_assert(sizeof TryEndNames / sizeof TryEndNames[0] == TryEndCount, "one entry per TryEndCount");

// The imprecision of one stage as played.
struct StagePlay {
  float aimDX[MaxPlanSteps], aimDY[MaxPlanSteps];
  float shift[MaxPlanSteps];    // added to a place threshold
  float stretch[MaxPlanSteps];  // factor on a frame count
  int topOffset[MaxPlanSteps];  // frames: below 0 early, above 0 late
};

struct PlayerRecord {
  const Plan* plan;
  int stage;                    // -1 between stages
  int step;
  int stepFrames;               // frames into the step
  float travel;                 // world units the ball has moved on the tether during the step
  bool rose;                    // the ball has risen (on the tether: after some travel) during the step
  int lateFrames;               // frames still to wait after the step's top
  int idleFrames;               // frames standing where no stage starts
  int mouseX, mouseY;
  int button;                   // the button as held last frame
  int stagesBegun;
  int stagesAgain;              // stages begun again after a failed attempt in the same run
  bool begun[MaxPlanStages];
  int wraps;                    // times the tether caught on a block between the ball and its anchor
  float anchorX, anchorY;       // the anchor a frame ago
  StagePlay play;
};

static PlayerRecord Player;
static unsigned long long RandomState;
static char PathMap[MapColumns * MaxLevelHeight];
static bool ShowPath;                       // --show
static bool Showing;                        // the try in play is the one shown

static float RandomUnit() {
  RandomState = RandomState * 6364136223846793005ull + 1442695040888963407ull;
  return (float)(RandomState >> 40) / 16777216.0f;
}

static float RandomSpread(float spread) { return (RandomUnit() * 2 - 1) * spread; }

static void BeginStep(int step) {
  Player.step = step;
  Player.stepFrames = 0;
  Player.rose = false;
  Player.travel = 0;
  Player.lateFrames = -1;
}

static void BeginStage(int stage) {
  Player.stage = stage;
  BeginStep(0);
  Player.stagesBegun++;
  Player.stagesAgain += Player.begun[stage];
  Player.begun[stage] = true;
  StagePlay* p = &Player.play;
  for (int i = 0; i < MaxPlanSteps; i++) {
    p->aimDX[i] = RandomSpread(AimSpread);
    p->aimDY[i] = RandomSpread(AimSpread);
    p->shift[i] = RandomSpread(PlaceSpread);
    p->stretch[i] = 1 + RandomSpread(FrameStretch);
    p->topOffset[i] = (int)lroundf(RandomSpread(TopSpread + 0.49f));
  }
}

static bool StandsIn(const PlanStage* s) {
  return Ball.onGround && Ball.x >= s->left && Ball.x <= s->right && Ball.y >= s->top && Ball.y <= s->bottom;
}

// The top of a swing: the ball, having swung a little on the tether (so the
// rise of the jump it was caught in does not count), rose faster than the
// step's early speed and has slowed to it; then the step's late frames pass.
// A step meant lead frames before the top is early by that many more.
static bool ReachedTop(int step, float lead) {
  if (!Ball.attached)
    return false;
  Player.travel += sqrtf(Ball.vx * Ball.vx + Ball.vy * Ball.vy) * ReplayTimeScale;
  int offset = Player.play.topOffset[step] - (int)lead;
  float early = offset < 0 ? -offset * TopEarlySpeed : 0;
  if (Ball.vy < -(early + RisingSpeed) && Player.travel >= SwingTravel)
    Player.rose = true;
  if (Player.lateFrames < 0) {
    if (!Player.rose || Ball.vy < -early)
      return false;
    Player.lateFrames = offset > 0 ? offset : 0;
  }
  return Player.lateFrames-- == 0;
}

static bool StepDone(const PlanStep* s, int step) {
  float at = s->value + Player.play.shift[step];
  switch (s->until) {
  case until_frames: return Player.stepFrames >= (int)lroundf(s->value * Player.play.stretch[step]);
  case until_right: return Ball.x >= at;
  case until_left: return Ball.x <= at;
  case until_ground: return Ball.onGround && Player.stepFrames > 0;
  case until_top: return ReachedTop(step, s->value);
  default: return true;
  }
}

// Moves through the steps whose end has come; the stage ends after its last
// step or a step waited on too long.
static void AdvanceStage() {
  const PlanStage* stage = &Player.plan->stages[Player.stage];
  while (Player.stage >= 0 && StepDone(&stage->steps[Player.step], Player.step)) {
    if (Showing)
      printf("  stage %c step %d ends at (%.1f, %.1f) after %d frames, moving (%.2f, %.2f)%s\n",
             'A' + Player.stage, Player.step + 1, Ball.x, Ball.y, Player.stepFrames, Ball.vx, Ball.vy,
             Ball.attached ? ", on the tether" : "");
    BeginStep(Player.step + 1);
    if (Player.step == stage->stepCount)
      Player.stage = -1;
  }
  if (Player.stage >= 0 && Player.stepFrames > StepGiveUpFrames)
    Player.stage = -1;
}

// The input of the next frame: the step in progress, or nothing between stages.
static void ChooseInput(int* keys, int* button) {
  *keys = 0;
  *button = 0;
  if (Player.stage < 0) {
    for (int i = 0; i < Player.plan->stageCount && Player.stage < 0; i++)
      if (StandsIn(&Player.plan->stages[i]))
        BeginStage(i);
    Player.idleFrames = Player.stage < 0 && Ball.onGround ? Player.idleFrames + 1 : 0;
  }
  if (Player.stage >= 0)
    AdvanceStage();
  if (Player.stage < 0)
    return;
  const PlanStep* s = &Player.plan->stages[Player.stage].steps[Player.step];
  *keys = s->keys;
  *button = s->button;
  if (s->aimX >= 0)
    ReplayPixelAt(s->aimX + Player.play.aimDX[Player.step], s->aimY + Player.play.aimDY[Player.step],
                  &Player.mouseX, &Player.mouseY);
  Player.stepFrames++;
}

static void MarkPath(char mark) {
  int x = (int)floorf(Ball.x), y = (int)floorf(Ball.y);
  if (Showing && x >= 0 && y >= 0 && x < MapColumns && y < LevelHeight && x < LevelWidth)
    PathMap[y * MapColumns + x] = mark;
}

// One run of the level from its start; try_* by how it ended, -1 when the
// level cannot be started.
static int PlayTry(const char* level, const Plan* plan) {
  if (!StartLevelFile(level))
    return -1;
  UseReplayScreen(ReplayScreenWidth, ReplayScreenHeight);
  ResetReplayInput();
  memset(&Player, 0, sizeof Player);
  Player.plan = plan;
  Player.stage = -1;
  Player.mouseX = ReplayScreenWidth / 2;
  Player.mouseY = ReplayScreenHeight / 2;
  for (int f = 0; f < MaxTryFrames; f++) {
    int keys, button;
    ChooseInput(&keys, &button);
    if (Player.idleFrames > StuckFrames)
      return try_stuck;
    ApplyReplayInput(keys, Player.mouseX, Player.mouseY, button);
    bool held = Ball.attached;
    UpdateGame(ReplayTimeScale);
    if (held && Ball.attached && !(button && !Player.button) &&
        (Ball.anchorX != Player.anchorX || Ball.anchorY != Player.anchorY)) {
      Player.wraps++;
      if (Showing)
        printf("  the tether wraps round (%.1f, %.1f)\n", Ball.anchorX, Ball.anchorY);
    }
    Player.anchorX = Ball.anchorX;
    Player.anchorY = Ball.anchorY;
    Player.button = button;
    MarkPath(Player.stage >= 0 ? (char)('A' + Player.stage) : '.');
    switch (JudgeFrame()) {
    case replayend_finish: return try_finish;
    case replayend_harmed: return try_harmed;
    case replayend_timeout: return try_timeout;
    default: break;
    }
  }
  return try_timeout;
}

static void DrawPath() {
  static const char CellLetters[] = " #^=%vvvv  @";   // by MapType; path letters go over the empty cells
  for (int y = 0; y < LevelHeight; y++) {
    for (int x = 0; x < LevelWidth && x < MapColumns; x++) {
      char mark = PathMap[y * MapColumns + x];
      int c = CellAt(x, y);
      putchar(mark && c == maptype_nothing ? mark : CellLetters[c]);
    }
    putchar('\n');
  }
}

static int Usage() {
  fprintf(stderr, "usage: tetherorb2-newplayer [--tries N] [--seed S] [--level N] [--show] [LEVELS_DIR]\n");
  return 2;
}

int main(int argc, char** argv) {
  int tries = DefaultTries, only = 0;
  unsigned seed = 1;
  const char* dir = "Levels";
  for (int i = 1; i < argc; i++) {
    bool hasValue = i + 1 < argc;
    if (strcmp(argv[i], "--tries") == 0 && hasValue)
      tries = atoi(argv[++i]);
    else if (strcmp(argv[i], "--seed") == 0 && hasValue)
      seed = (unsigned)atoi(argv[++i]);
    else if (strcmp(argv[i], "--level") == 0 && hasValue)
      only = atoi(argv[++i]);
    else if (strcmp(argv[i], "--show") == 0)
      ShowPath = true;
    else if (argv[i][0] == '-')
      return Usage();
    else
      dir = argv[i];
  }
  if (tries < 1)
    return Usage();
  float levelFinish = 0, levelClean = 0;
  int levelPlans = 0, missed = 0;
  for (int p = 0; p < PlanCount; p++) {
    const Plan* plan = &Plans[p];
    if (only && plan->level != only)
      continue;
    char level[4200];
    snprintf(level, sizeof level, "%s/level%d.dat", dir, plan->level);
    RandomState = seed * 2654435761ull + (unsigned)p;
    int ends[TryEndCount] = {0}, clean = 0, wrapped = 0;
    for (int t = 0; t < tries; t++) {
      memset(PathMap, 0, sizeof PathMap);
      Showing = ShowPath && t == 0;
      if (Showing)
        printf("%s, first try:\n", plan->name);
      int end = PlayTry(level, plan);
      if (end < 0) {
        fprintf(stderr, "%s cannot be started\n", level);
        return 1;
      }
      ends[end]++;
      clean += end == try_finish && Player.stagesAgain == 0;
      wrapped += Player.wraps > 0;
      if (Showing)
        DrawPath();
    }
    float finish = 100.0f * ends[try_finish] / tries, cleanShare = 100.0f * clean / tries;
    printf("level %d  %-52s finish %5.1f%%, first time through %5.1f%%, tether wrapped %5.1f%%;", plan->level,
           plan->name, finish, cleanShare, 100.0f * wrapped / tries);
    for (int e = 1; e < TryEndCount; e++)
      printf(" %s %d", TryEndNames[e], ends[e]);
    printf("\n");
    levelFinish += finish;
    levelClean += cleanShare;
    levelPlans++;
    if (p + 1 == PlanCount || Plans[p + 1].level != plan->level) {
      float share = levelFinish / levelPlans / 100, withinThree = 1 - powf(1 - share, 3);
      bool miss = withinThree < AimWithinThree;
      printf("level %d  all %d plans alike: finish %5.1f%%, first time through %5.1f%%, within three tries %5.1f%%%s\n\n",
             plan->level, levelPlans, 100 * share, levelClean / levelPlans, 100 * withinThree,
             miss ? " (too hard)" : "");
      missed += miss;
      levelFinish = levelClean = 0;
      levelPlans = 0;
    }
  }
  return missed ? 1 : 0;
}
