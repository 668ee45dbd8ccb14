// tetherorb2-step-digest: how many runs of the game step end, as bits, so
// that two builds of the step (the native one and the WebAssembly one the
// browser runs) can be compared byte for byte.
//
//   tetherorb2-step-digest ROOT [RUNS [SEED]]
//
// Plays each shipped level's solution (ROOT/tests/solutions/levelN.replay on
// ROOT/Levels/levelN.dat), then RUNS (default 200) runs of made-up play from
// SEED (default 1), spread over the shipped levels, and prints one line per
// run: how it ended, its score and frames, and the hexadecimal bits of the
// ball's place, speed and the timer. A last line counts the frames played
// and those with the tether attached. The exit code is 2 on a bad command
// line or a file that cannot be read, 0 otherwise.
#include "random_play.h"

#include "game/base/screen.h"
#include "game/files/level_files.h"
#include "game/files/replay_record.h"
#include "game/play/world.h"
#include "game/run/replay_run.h"
#include "game/run/rules.h"
#include "game/run/update.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

static const int DefaultRuns = 200;
static const int MaxRandomFrames = 3000;   // more than the timer allows without pickups

static Replay Solution;
static long FramesPlayed, FramesAttached;

static unsigned Bits(float v)
{
  unsigned u;
  memcpy(&u, &v, sizeof u);
  return u;
}

static void PrintRun(const char* name, int level, const ReplayOutcome& out)
{
  printf("%s level %d: %s score %d frames %d ball %08x %08x speed %08x %08x timer %08x\n", name, level,
         ReplayEndName(out.end), out.score, out.frames, Bits(Ball.x), Bits(Ball.y), Bits(Ball.vx), Bits(Ball.vy),
         Bits(out.timeLeft));
}

static bool StartShipped(const char* root, int level)
{
  char path[1024];
  snprintf(path, sizeof path, "%s/Levels/level%d.dat", root, level);
  if (StartLevelFile(path))
    return true;
  fprintf(stderr, "cannot read %s\n", path);
  return false;
}

static bool PlaySolution(const char* root, int level)
{
  char path[1024];
  snprintf(path, sizeof path, "%s/tests/solutions/level%d.replay", root, level);
  FILE* f = fopen(path, "r");
  bool read = f && ReadReplay(f, &Solution);
  if (f)
    fclose(f);
  if (!read) {
    fprintf(stderr, "cannot read %s\n", path);
    return false;
  }
  if (!StartShipped(root, level))
    return false;
  PrintRun("solution", level, PlayReplay(&Solution));
  return true;
}

// Made-up play on the level until the run ends or MaxRandomFrames pass.
static ReplayOutcome PlayRandom(unsigned seed)
{
  ReplayOutcome out = {replayend_playing, 0, 0, 0};
  RandomPlay play;
  StartRandomPlay(&play, seed);
  ReplayRecording = false;
  UseReplayScreen(ReplayScreenWidth, ReplayScreenHeight);
  ResetReplayInput();
  ShowScreen(gamestate_playing);
  while (out.end == replayend_playing && out.frames < MaxRandomFrames) {
    PlayControls c;
    float t = NextRandomFrame(&play, &c);
    ApplyReplayControls(c);
    UpdateGame(t);
    out.frames++;
    FramesAttached += Ball.attached;
    out.end = JudgeFrame();
  }
  FramesPlayed += out.frames;
  out.timeLeft = LevelTimer;
  if (out.end == replayend_finish)
    out.score = ScoreFromTimer();
  return out;
}

int main(int argc, char** argv)
{
  if (argc < 2 || argc > 4) {
    fprintf(stderr, "usage: tetherorb2-step-digest ROOT [RUNS [SEED]]\n");
    return 2;
  }
  const char* root = argv[1];
  int runs = argc > 2 ? atoi(argv[2]) : DefaultRuns;
  unsigned seed = argc > 3 ? (unsigned)strtoul(argv[3], nullptr, 10) : 1;
  for (int level = 1; level <= ShippedLevelCount; level++)
    if (!PlaySolution(root, level))
      return 2;
  for (int i = 0; i < runs; i++) {
    int level = 1 + i % ShippedLevelCount;
    if (!StartShipped(root, level))
      return 2;
    char name[32];
    snprintf(name, sizeof name, "random %d", i);
    PrintRun(name, level, PlayRandom(seed * 1000003u + (unsigned)i));
  }
  printf("frames %ld attached %ld\n", FramesPlayed, FramesAttached);
  return 0;
}
