// bench_memory: the benchmark's peak memory figures. Each comes from a
// process of its own, so that none carries another's peak: the bare window
// (tetherorb2-bare-window, the same size, opened the same way), the game on
// its title screen, and the game after a minute of play and editing on the
// 20 x 15 and on the 998 x 1000 level, each printed as megabytes above the
// bare window.
#include "bench_memory.h"

#include "bench_case.h"
#include "bench_levels.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "app/host.h"
#include "game/base/screen.h"
#include "game/edit/edit_history.h"
#include "game/edit/edit_ops.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "game/run/test_run.h"
#include "peak_memory.h"
#include "platform/keymap.h"
#include "platform/pacing.h"
#include "ui/editor.h"

const int PlayFrames = 1800;       // half a minute at 60 frames a second
const int EditFrames = 1800;       // and half a minute in the editor
const int EditStepFrames = 60;     // an editing step every second
const int EditCycleSteps = 6;      // rectangle, flood, stroke, three undos, a test run, three redos
const int TitleFrames = 60;        // a second of the title screen
const double KbPerMb = 1024;

static void ScriptedFrame(void (*input)(int frame), int frame)
{
  ClearInput();
  if (input)
    input(frame);
  ReadControls(DefaultBindings);
  BenchFrame();
}

// Play of level, started again whenever a run ends.
static void Play(int level)
{
  for (int f = 0; f < PlayFrames; f++) {
    if (f == 0 || GameState != gamestate_playing) {
      StartLevel(level);
      ShowScreen(gamestate_playing);
    }
    ScriptedFrame(HoldTether, f);
  }
}

// The editing steps of a cycle: whole-level fills by rectangle and by flood
// and a diagonal stroke, each undoable, then all three undone (the level
// is as loaded again, spawn and all, for the test run) and redone.
static void EditStep(int step)
{
  int w = LevelWidth, h = LevelHeight, brush = 1 + step / EditCycleSteps % 2;
  int kind = step % EditCycleSteps;
  HistoryBegin();
  if (kind == 0)
    FillRect(0, 0, w - 1, h - 1, brush);
  else if (kind == 1)
    FloodFill(w / 2, h / 2, brush + 2);
  else if (kind == 2)
    PaintLine(0, 0, w - 1, h - 1, brush + 4);
  HistoryEnd();
  for (int i = 0; i < 3; i++) {
    if (kind == 3)
      HistoryUndo();
    if (kind == 5)
      HistoryRedo();
  }
}

// The editor on level, a step every second; the fifth step of each cycle is a
// test run of the level that lasts the second.
static void Edit(int level)
{
  StartLevel(level);
  OpenEditor(level, false);
  ShowScreen(gamestate_editing);
  for (int f = 0; f < EditFrames; f++) {
    int step = f / EditStepFrames, at = f % EditStepFrames;
    bool testRun = step % EditCycleSteps == 4;
    if (at == 0 && testRun) {
      BeginTestRun();
      ApplyScreenRequest();
    } else if (at == 0) {
      EditStep(step);
    }
    ScriptedFrame(TestRunActive ? HoldTether : nullptr, f);
    if (at == EditStepFrames - 1 && TestRunActive) {
      EndTestRun();
      ApplyScreenRequest();
    }
  }
}

int MemoryChild(int level)
{
  if (level != 0 && level != level_small_dense && level != level_big_dense)
    return 2;
  StartUp();
  PacingEnabled = false;
  for (int f = 0; f < TitleFrames; f++)
    ScriptedFrame(nullptr, f);
  if (level != 0) {
    Play(level);
    Edit(level);
  }
  printf("%ld\n", PeakResidentKb());
  fflush(stdout);
  _exit(0);
}

// The peak of a child, in kilobytes; -1 when it failed.
static long ChildPeakKb(const char* path, const char* arg)
{
  char text[64];
  return RunAndRead(path, arg, text, sizeof text) ? atol(text) : -1;
}

void MeasureMemory(const char* self)
{
  char bench[PATH_MAX], bare[PATH_MAX + 32];
  ssize_t n = readlink(self, bench, sizeof bench - 1);
  bench[n > 0 ? n : 0] = 0;
  char* slash = strrchr(bench, '/');
  snprintf(bare, sizeof bare, "%.*s/tetherorb2-bare-window", slash ? (int)(slash - bench) : 1,
           slash ? bench : ".");
  long floorKb = ChildPeakKb(bare, nullptr);
  printf("peak memory (VmHWM): bare SDL 1.2 + OpenGL window of 800 x 600: %.1f MB\n", floorKb / KbPerMb);
  struct {
    int level;
    const char* name;
  } cases[] = {{0, "the title screen, a second"},
               {level_small_dense, "a minute of play and editing on the 20 x 15 level"},
               {level_big_dense, "a minute of play and editing on the 998 x 1000 level"}};
  for (const auto& c : cases) {
    char arg[32];
    snprintf(arg, sizeof arg, "%s%d", MemoryFlag, c.level);
    long kb = ChildPeakKb(self, arg);
    printf("  %s: %.1f MB, %.1f MB above the bare window\n", c.name, kb / KbPerMb, (kb - floorKb) / KbPerMb);
  }
  fflush(stdout);
}
