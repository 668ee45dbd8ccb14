// bench_case: one measured case of the benchmark: the frame, its timing and
// summary, the scripted input, and running a child process.
#include "bench_case.h"

#include <SDL.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>

#include "app/host.h"
#include "game/base/screen.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "game/run/pause_state.h"
#include "game/run/update.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "platform/keymap.h"
#include "platform/pacing.h"
#include "render/frozen_frame.h"
#include "render/overlay.h"

// Pointer aimed straight up from the window's centre, at the ceiling.
const int AimPixelX = 400;
const int AimPixelY = 150;

double NowMs()
{
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

void BenchFrame()
{
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  SDL_PumpEvents();
  bool screenRuns = ScreenRuns();
  if (screenRuns)
    RunGameState();
  PaceFrame();
  StepPause(1, screenRuns);
  PlaySounds();
  DrawCursor(InputState.MouseX, InputState.MouseY);
  SDL_GL_SwapBuffers();
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_ALLEVENTS) > 0) {
  }
}

// The whole process's processor time, llvmpipe's drawing threads included.
static double CpuMs()
{
  struct timespec ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

void PrintLoad(const char* when)
{
  char text[128] = "";
  FILE* f = fopen("/proc/loadavg", "r");
  if (f) {
    if (!fgets(text, sizeof(text), f))
      text[0] = 0;
    fclose(f);
  }
  printf("load average %s: %s", when, text[0] ? text : "unknown\n");
}

CaseResult Summarise(double* ms, int count)
{
  std::sort(ms, ms + count);
  CaseResult r;
  r.median = ms[count / 2];
  r.cpu = 0;
  r.p95 = ms[(count * 95) / 100];
  r.slowest = ms[count - 1];
  return r;
}

static void PrintCase(const char* name, CaseResult r)
{
  printf("  %-38s %8.3f %8.3f %8.3f %8.3f\n", name, r.median, r.p95, r.slowest, r.cpu);
  fflush(stdout);
}

const char* CaseFilter = "";

// Runs the prepared state; before each frame prepare() may reset whatever the
// previous frame changed. The preparation is not timed.

CaseResult RunCase(const char* name, int state, void (*prepare)(int frame))
{
  static double ms[MeasuredFrames];
  CaseResult skipped = {0, 0, 0, 0};
  if (!strstr(name, CaseFilter))
    return skipped;
  double cpu = 0;
  for (int frame = -WarmUpFrames; frame < MeasuredFrames; frame++) {
    ShowScreen(state);
    if (prepare)
      prepare(frame);
    ReadControls(DefaultBindings);
    double start = NowMs(), cpuStart = CpuMs();
    BenchFrame();
    if (frame >= 0) {
      ms[frame] = NowMs() - start;
      cpu += CpuMs() - cpuStart;
    }
  }
  CaseResult r = Summarise(ms, MeasuredFrames);
  r.cpu = cpu / MeasuredFrames;
  PrintCase(name, r);
  return r;
}

void ClearInput()
{
  memset(&InputState, 0, sizeof(InputState));
  InputState.MouseX = AimPixelX;
  InputState.MouseY = AimPixelY;
}

int AttachedFrames;

void HoldTether(int frame)
{
  InputState.MouseButtonState[ButtonLeft] = InputHeld;
  InputState.KeyState[KeyRight] = (frame / 40) % 2 ? InputHeld : InputUp;
  InputState.KeyState[KeyLeft] = (frame / 40) % 2 ? InputUp : InputHeld;
  LevelTimer = LevelTimeAtStart;
  AttachedFrames += Ball.attached;
}

bool RunAndRead(const char* path, const char* arg, char* text, size_t size)
{
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0)
    return false;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeEnds[1], 1);
    close(pipeEnds[0]);
    execl(path, path, arg, (char*)NULL);
    _exit(127);
  }
  close(pipeEnds[1]);
  size_t used = 0;
  ssize_t got;
  while (used + 1 < size && (got = read(pipeEnds[0], text + used, size - 1 - used)) > 0)
    used += (size_t)got;
  text[used] = 0;
  close(pipeEnds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return used > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
