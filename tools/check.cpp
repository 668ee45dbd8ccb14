// tetherorb2-check: the level checker for level makers.
//
//   tetherorb2-check LEVEL.dat [SOLUTION.replay]
//   tetherorb2-check --solve LEVEL.dat -o OUT.replay [--seconds S] [--seed N] [--improve] [--from OLD.replay]
//
// The first form reports what is wrong with a level file and, given a
// solution, whether it still reaches the finish and with which score. The
// second searches for a solution and writes it; --from starts its best few
// runs from an older solution (of version 1), which it then improves on. The
// exit code is 0 when there is nothing to report, 1 on problems and 2 on a
// bad command line.
#include "solve.h"

#include "game/base/screen.h"
#include "game/files/level_check.h"
#include "game/files/level_files.h"
#include "game/play/collision.h"
#include "game/play/world.h"
#include "game/run/replay_run.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static const float StuckTolerance = 0.01f;  // world units a settled spawn may still move

static Replay Solution, From;
static int ProblemCount;

static void Problem(const char* path, const char* text) {
  printf("%s: %s\n", path, text);
  ProblemCount++;
}

static bool IsSolid(int c) { return c == maptype_blocknormal || c == maptype_blocknoswing; }

static bool IsWall(int c) { return IsSolid(c) || c == maptype_blockharmful; }

// The ball does not fit at the spawn: solid on opposite sides, or still
// pushed after settling.
static bool SpawnStuck(int sx, int sy) {
  if ((IsSolid(CellAt(sx - 1, sy)) && IsSolid(CellAt(sx + 1, sy))) ||
      (IsSolid(CellAt(sx, sy - 1)) && IsSolid(CellAt(sx, sy + 1))))
    return true;
  float x = sx + 0.5f, y = sy + 0.5f;
  CollideSolid(x, y, BallRadius);
  CollideSolid(x, y, BallRadius);
  float settledX = x, settledY = y;
  CollideSolid(x, y, BallRadius);
  return fabsf(x - settledX) > StuckTolerance || fabsf(y - settledY) > StuckTolerance ||
         IsSolid(CellAt((int)floorf(x), (int)floorf(y)));
}

static void CheckRepairs(const char* path, const LevelRepairs* rep) {
  char text[128];
  if (rep->titleCut)
    Problem(path, "the title line is too long and was cut");
  if (rep->sizeClamped)
    Problem(path, "the width or height is not a number in range and was clamped");
  if (rep->shortRows > 0) {
    snprintf(text, sizeof text, "%d rows are missing or shorter than the width", rep->shortRows);
    Problem(path, text);
  }
  if (rep->badCharacters > 0) {
    snprintf(text, sizeof text, "%d characters are not letters a to l", rep->badCharacters);
    Problem(path, text);
  }
}

static void CheckCells(const char* path) {
  char text[128];
  LevelCheck c = CheckLevel();
  int spawns = c.spawns, finishes = c.finishes, sx = c.spawnX, sy = c.spawnY, openings = 0;
  for (int x = 0; x < LevelWidth; x++)
    for (int y = 0; y < LevelHeight; y++) {
      bool border = x == 0 || y == 0 || x == LevelWidth - 1 || y == LevelHeight - 1;
      if (border && !IsWall(CellAt(x, y)))
        openings++;
    }
  if (LevelWidth < 1 || LevelHeight < 1)
    Problem(path, "the level has no cells");
  if (spawns == 0)
    Problem(path, "no spawn (j)");
  if (spawns > 1) {
    snprintf(text, sizeof text, "%d spawns (j); the ball starts at the last, (%d, %d)", spawns, sx, sy);
    Problem(path, text);
  }
  if (finishes == 0)
    Problem(path, "no finish (l)");
  if (spawns > 0 && SpawnStuck(sx, sy)) {
    snprintf(text, sizeof text, "the spawn at (%d, %d) is inside solid blocks", sx, sy);
    Problem(path, text);
  }
  if (openings > 0)
    printf("%s: note: %d border cells are open; the ball can leave the level there\n", path, openings);
}

static bool CheckLevel(const char* path) {
  FILE* f = fopen(path, "r");
  if (!f) {
    Problem(path, "cannot be opened");
    return false;
  }
  char title[TitleSlotSize];
  LevelRepairs rep;
  memset(&rep, 0, sizeof rep);
  ReadLevelStream(f, title, &rep);
  fclose(f);
  title[strcspn(title, "\r\n")] = 0;
  if (title[0] == 0)
    Problem(path, "the title line is empty");
  CheckRepairs(path, &rep);
  CheckCells(path);
  printf("%s: \"%s\", %d x %d\n", path, title, LevelWidth, LevelHeight);
  return true;
}

static void CheckSolution(const char* level, const char* solution) {
  FILE* f = fopen(solution, "r");
  bool read = f && ReadReplay(f, &Solution);
  if (f)
    fclose(f);
  if (!read) {
    Problem(solution, "not a readable replay");
    return;
  }
  if (!StartLevelFile(level)) {
    Problem(level, "cannot be started");
    return;
  }
  ReplayOutcome out = PlayReplay(&Solution);
  if (out.end == replayend_finish) {
    printf("%s: reaches the finish after %d frames, score %d\n", solution, out.frames, out.score);
    return;
  }
  char text[160];
  snprintf(text, sizeof text, "does not reach the finish: %s after %d frames", ReplayEndName(out.end),
           out.frames);
  Problem(solution, text);
}

static int Solve(const char* level, const char* output, const SolveOptions* opt) {
  if (!StartLevelFile(level)) {
    Problem(level, "cannot be started");
    return 1;
  }
  if (!SolveLevel(opt, &Solution)) {
    Problem(level, "no solution found in the time given");
    return 1;
  }
  ReplayOutcome out = {replayend_playing, 0, 0, 0};
  if (StartLevelFile(level))
    out = PlayReplay(&Solution);
  if (out.end != replayend_finish) {
    Problem(level, "the solution found does not replay to the finish");
    return 1;
  }
  FILE* f = fopen(output, "w");
  if (!f || !WriteReplay(f, &Solution) || fclose(f) != 0) {
    Problem(output, "cannot be written");
    return 1;
  }
  printf("%s: solved with score %d in %d frames, written to %s\n", level, out.score, out.frames, output);
  return 0;
}

static int Usage() {
  fprintf(stderr,
          "usage: tetherorb2-check LEVEL.dat [SOLUTION.replay]\n"
          "       tetherorb2-check --solve LEVEL.dat -o OUT.replay [--seconds S] [--seed N] [--improve]"
          " [--from OLD.replay]\n");
  return 2;
}

int main(int argc, char** argv) {
  SolveOptions opt;
  DefaultSolveOptions(&opt);
  const char* files[2] = {nullptr, nullptr};
  const char* output = nullptr;
  const char* fromPath = nullptr;
  int fileCount = 0;
  bool solve = false;
  for (int i = 1; i < argc; i++) {
    bool hasValue = i + 1 < argc;
    if (strcmp(argv[i], "--solve") == 0)
      solve = true;
    else if (strcmp(argv[i], "-o") == 0 && hasValue)
      output = argv[++i];
    else if (strcmp(argv[i], "--seconds") == 0 && hasValue)
      opt.seconds = atof(argv[++i]);
    else if (strcmp(argv[i], "--seed") == 0 && hasValue)
      opt.seed = (unsigned)atoi(argv[++i]);
    else if (strcmp(argv[i], "--improve") == 0)
      opt.improve = true;
    else if (strcmp(argv[i], "--from") == 0 && hasValue)
      fromPath = argv[++i];
    else if (strcmp(argv[i], "--verbose") == 0)
      opt.verbose = true;
    else if (argv[i][0] == '-' || fileCount == 2)
      return Usage();
    else
      files[fileCount++] = argv[i];
  }
  if (fileCount == 0 || (solve && (!output || fileCount != 1)))
    return Usage();
  if (!CheckLevel(files[0]))
    return 1;
  if (fromPath) {
    FILE* f = fopen(fromPath, "r");
    bool read = f && ReadReplay(f, &From);
    if (f)
      fclose(f);
    if (!read) {
      Problem(fromPath, "not a readable replay");
      return 1;
    }
    opt.from = &From;
  }
  if (solve)
    return ProblemCount > 0 ? 1 : Solve(files[0], output, &opt);
  if (files[1])
    CheckSolution(files[0], files[1]);
  return ProblemCount > 0 ? 1 : 0;
}
