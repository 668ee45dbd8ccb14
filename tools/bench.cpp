// bench: times the game's real per-frame work in a real window on generated
// levels, so the cost of a frame can be compared across level sizes.
//
// It makes a throw-away working directory with an 800 x 600 settings.ini, a
// link to the repository's Media/ and generated levels, runs the game's own
// start-up there, switches the frame pacing off and then runs each case for
// a fixed number of frames: clear, events, scripted input, RunGameState (so
// the GL state and the per-state update and draw are the game's), PaceFrame,
// StepPause, the pointer and the buffer swap. It prints the median and 95th
// percentile and slowest milliseconds per frame of every case, the ratio of the largest
// level to the smallest, LoadLevel of the largest level, whole-level editor
// fills (also with the undo history full, where old steps are forgotten, and
// editor frames filling the whole level every frame), the editor zoomed out
// to the whole largest level (bench_editor.cpp), and the time from
// process start to the first presented frame, and peak memory after a minute
// of play and editing (bench_memory.cpp).
//
// Usage: tetherorb2-bench [repository [case]]
// The repository defaults to the current directory; a case word runs only
// the frame cases whose names contain it (for profiling one case), and
// "memory" only the peak memory figures.
// Run it under a display, e.g. xvfb-run -a tetherorb2-bench; `make bench` does.
#include <SDL.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <climits>
#include <unistd.h>

#include "bench_case.h"
#include "bench_editor.h"
#include "bench_levels.h"
#include "bench_memory.h"

#include "app/host.h"
#include "game/base/screen.h"
#include "game/files/level_files.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "game/settings/settings.h"
#include "platform/audio.h"
#include "platform/pacing.h"
#include "render/atlas.h"
#include "render/text.h"

const int StartUpRepeats = 5;
const char FirstFrameFlag[] = "--first-frame";
const char MemoryCase[] = "memory";

const int BenchParticleCount = MaxItems;
// Particles are drawn life x life; a stream of them born at 1.5 and fading
// evenly has every life from 0 to 1.5 in equal shares.
const float ParticleBirthLife = 1.5f;
const int ParticleLifeSteps = 100;
const int NoState = -1;                 // a GameState that runs nothing

// ---- play -------------------------------------------------------------------

static const char* PlaySuffix = "";   // tells the runs without sound apart

static CaseResult PlayCase(int level)
{
  ClearInput();
  StartLevel(level);
  AttachedFrames = 0;
  char name[96];
  snprintf(name, sizeof(name), "play %s%s", LevelPlans[level].name, PlaySuffix);
  CaseResult r = RunCase(name, gamestate_playing, HoldTether);
  if (r.median > 0 && AttachedFrames < MeasuredFrames / 2)
    printf("  (warning: tether attached in only %d frames)\n", AttachedFrames);
  return r;
}

// A full item table of particles spread over the view, refreshed each frame
// so none ages out.
static void FillParticles(int frame)
{
  HoldTether(frame);
  float halfW = PlayViewHeight * AspectRatio / 2, halfH = PlayViewHeight / 2;
  unsigned seed = 12345;
  ItemCount = 0;
  for (int i = 0; i < BenchParticleCount; i++) {
    seed = seed * 1103515245u + 12345u;
    float u = (seed >> 8 & 0xffff) / 65535.0f;
    seed = seed * 1103515245u + 12345u;
    float v = (seed >> 8 & 0xffff) / 65535.0f;
    LevelItem* p = AppendItem(itemtype_particle, Camera.camX + (2 * u - 1) * halfW,
                              Camera.camY + (2 * v - 1) * halfH);
    p->life = ParticleBirthLife * ((i * 7) % ParticleLifeSteps + 0.5f) / ParticleLifeSteps;
  }
}

static CaseResult ParticleCase(const char* name)
{
  ClearInput();
  StartLevel(level_small_sparse);
  return RunCase(name, gamestate_playing, FillParticles);
}

// The same particles from an atlas without mipmaps ("mipmapping = 0"): a
// shrunken particle then takes one texture lookup per pixel instead of two.
static void ParticleCaseWithoutMipmaps()
{
  unsigned mipmapped = AtlasTexture;
  Settings.mipmapping = false;
  BuildAtlas();
  ParticleCase("play 5000 particles, mipmapping = 0");
  glDeleteTextures(1, &AtlasTexture);
  AtlasTexture = mipmapped;
  Settings.mipmapping = true;
}

// ---- load and start-up ------------------------------------------------------

static void TimeLoadLevel()
{
  double ms[LoadRepeats];
  for (int i = 0; i < LoadRepeats; i++) {
    ItemCount = 0;
    double start = NowMs();
    LoadLevel(level_big_dense);
    ms[i] = NowMs() - start;
  }
  double first = ms[0];
  CaseResult r = Summarise(ms, LoadRepeats);
  printf("LoadLevel 998 x 1000 dense: median %.3f ms, slowest %.3f ms, first %.3f ms (%d items)\n",
         r.median, ms[LoadRepeats - 1], first, ItemCount);
}

// The child half: the game's start-up and first frame, then the moment the
// swap returned, on the clock the parent read before it started the process.
static int FirstFrameChild()
{
  StartUp();
  RunFrame();
  printf("%.6f\n", NowMs());
  fflush(stdout);
  _exit(0);
}

static double TimeStartUpOnce(const char* self)
{
  char text[64];
  double start = NowMs();
  return RunAndRead(self, FirstFrameFlag, text, sizeof text) ? atof(text) - start : -1;
}

static void TimeStartUp()
{
  double ms[StartUpRepeats];
  const int MaxFailures = 5;
  int failures = 0;
  for (int i = 0; i < StartUpRepeats; i++) {
    ms[i] = TimeStartUpOnce("/proc/self/exe");
    if (ms[i] < 0 && ++failures <= MaxFailures)
      i--;
  }
  double first = ms[0];
  CaseResult r = Summarise(ms, StartUpRepeats);
  printf("start-up to first frame: median %.1f ms, slowest %.1f ms, first %.1f ms\n",
         r.median, ms[StartUpRepeats - 1], first);
}

// A display that has just started may refuse the first connections, and SDL
// would then fall back to a text-mode driver; wait until X11 answers. SDL's
// video stays up afterwards: an X server resets when its last client leaves
// and refuses connections meanwhile, which the start-up runs would cause.
// StartUp's own SDL_Init then finds the video already running.
static bool WaitForDisplay()
{
  const int Tries = 50;
  const int PauseMs = 100;
  char driver[32] = "";
  for (int i = 0; i < Tries; i++) {
    if (SDL_Init(SDL_INIT_VIDEO) == 0) {
      if (SDL_VideoDriverName(driver, sizeof(driver)) && strcmp(driver, "x11") == 0)
        return true;
      SDL_Quit();
    }
    SDL_Delay(PauseMs);
  }
  return false;
}

// ---- main -------------------------------------------------------------------

int main(int argc, char** argv)
{
  setenv("SDL_VIDEODRIVER", "x11", 1);
  // Sound is mixed as in the game, in SDL's thread, written to nowhere at the
  // pace of a sound card (a 1024-frame buffer every 23 ms).
  setenv("SDL_AUDIODRIVER", "disk", 0);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);
  setenv("SDL_DISKAUDIODELAY", "23", 0);
  if (argc > 1 && strcmp(argv[1], FirstFrameFlag) == 0)
    return FirstFrameChild();
  if (argc > 1 && strncmp(argv[1], MemoryFlag, strlen(MemoryFlag)) == 0)
    return MemoryChild(atoi(argv[1] + strlen(MemoryFlag)));

  char repo[PATH_MAX];
  if (!realpath(argc > 1 ? argv[1] : ".", repo))
    return 1;
  if (argc > 2)
    CaseFilter = argv[2];
  if (!MakeWorkDir(repo)) {
    fprintf(stderr, "bench: could not set up a working directory with %s/Media\n", repo);
    return 1;
  }

  if (!WaitForDisplay()) {
    fprintf(stderr, "bench: no X11 display to open a window on\n");
    return 1;
  }
  PrintLoad("at start");
  if (strcmp(CaseFilter, MemoryCase) == 0) {
    MeasureMemory("/proc/self/exe");
    SDL_Quit();
    RemoveWorkDir();
    return 0;
  }
  if (!*CaseFilter) {
    TimeStartUp();
    MeasureMemory("/proc/self/exe");
  }

  StartUp();
  PacingEnabled = false;
  printf("window %.0f x %.0f, GL renderer: %s\n", ScreenWidth, ScreenHeight,
         (const char*)glGetString(GL_RENDERER));
  TimeLoadLevel();
  TimeWholeLevelFills();
  TimeFillsWithFullHistory();

  printf("ms per frame (%d frames after %d warm-up):       median      p95  slowest  cpu/mean\n",
         MeasuredFrames, WarmUpFrames);
  ClearInput();
  RunCase("empty frame (clear, pointer, swap)", NoState, nullptr);
  RunCase("menu: title", gamestate_title, nullptr);
  RunCase("menu: level list to play", gamestate_playlist, nullptr);
  RunCase("menu: level list to edit", gamestate_editlist, nullptr);

  CaseResult play[level_count + 1], edit[level_count + 1];
  for (int n = 1; n <= level_count; n++)
    play[n] = PlayCase(n);
  ParticleCase("play 5000 particles (20 x 15 sparse)");
  ParticleCaseWithoutMipmaps();
  for (int n = 1; n <= level_count; n++)
    edit[n] = EditorCase(n);
  EditorFillCase();
  ZoomedOutEditorCases(edit[level_small_dense]);

  // The same play with the mixer closed: what sound costs a frame.
  bool hadSound = Audio.open;
  StopAudio();
  PlaySuffix = ", without sound";
  CaseResult quiet[2] = {PlayCase(level_small_dense), PlayCase(level_mid_sparse)};
  if (hadSound && quiet[0].cpu > 0 && quiet[1].cpu > 0)
    printf("with / without sound, processor time: play 20 x 15 dense %.3f, play 200 x 200 sparse %.3f\n",
           play[level_small_dense].cpu / quiet[0].cpu, play[level_mid_sparse].cpu / quiet[1].cpu);

  PrintLoad("at end");
  if (*CaseFilter) {
    SDL_Quit();
    RemoveWorkDir();
    return 0;
  }
  printf("largest / smallest level, median frame:\n");
  printf("  play dense   %.2f   play sparse   %.2f\n",
         play[level_big_dense].median / play[level_small_dense].median,
         play[level_big_sparse].median / play[level_small_sparse].median);
  printf("  editor dense %.2f   editor sparse %.2f\n",
         edit[level_big_dense].median / edit[level_small_dense].median,
         edit[level_big_sparse].median / edit[level_small_sparse].median);
  SDL_Quit();
  RemoveWorkDir();
  return 0;
}
