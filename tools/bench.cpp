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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <climits>
#include <ctime>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bench.h"

#include "app/host.h"
#include "game/base/places.h"
#include "game/base/screen.h"
#include "game/edit/edit_history.h"
#include "game/edit/edit_ops.h"
#include "game/files/level_files.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "game/run/pause_state.h"
#include "game/run/update.h"
#include "game/settings/settings.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "platform/keymap.h"
#include "platform/pacing.h"
#include "render/atlas.h"
#include "render/frozen_frame.h"
#include "render/overlay.h"
#include "render/text.h"
#include "ui/editor.h"

const int WarmUpFrames = 30;
const int MeasuredFrames = 300;
const int LoadRepeats = 10;
const int StartUpRepeats = 5;
const char FirstFrameFlag[] = "--first-frame";
const char MemoryCase[] = "memory";

struct LevelPlan {
  int width, height;
  bool dense;
  const char* name;
};
static const LevelPlan LevelPlans[level_count + 1] = {
  {0, 0, false, ""},
  {20, 15, true, "20 x 15 dense"},
  {20, 15, false, "20 x 15 sparse"},
  {200, 200, true, "200 x 200 dense"},
  {200, 200, false, "200 x 200 sparse"},
  {MaxLevelWidth, MaxLevelHeight, true, "998 x 1000 dense"},
  {MaxLevelWidth, MaxLevelHeight, false, "998 x 1000 sparse"},
};

const int DenseBlockTypes = 8;          // maptype_blocknormal .. maptype_gravityright
const int DensePickupSpacing = 7;       // one extra-time cell in 7 x 7 cells
const int SparseBlockSpacing = 13;      // one block in 13 x 13 cells
const int RoomHalfWidth = 4;            // the open room around the spawn, cells
const int RoomHalfHeight = 3;
const int CeilingRise = 3;              // cells from the spawn up to the ceiling the tether grips

// Pointer aimed straight up from the window's centre, at the ceiling.
const int AimPixelX = 400;
const int AimPixelY = 150;

const int BenchParticleCount = MaxItems;
// Particles are drawn life x life; a stream of them born at 1.5 and fading
// evenly has every life from 0 to 1.5 in equal shares.
const float ParticleBirthLife = 1.5f;
const int ParticleLifeSteps = 100;
const int NoState = -1;                 // a GameState that runs nothing

static double NowMs()
{
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

// ---- generated levels -------------------------------------------------------

// Every cell a block or gravity type. Around the spawn in the middle a room
// walled with normal blocks holds only downward gravity cells, which the ball
// and the tether pass through, so the view is covered with cells everywhere
// on every level size. Pickups in a lattice, one finish far out of reach.
static void FillDense(int w, int h, int sx, int sy)
{
  for (int x = 0; x < w; x++)
    for (int y = 0; y < h; y++) {
      int type = 1 + (x + 3 * y) % DenseBlockTypes;
      if (x % DensePickupSpacing == 3 && y % DensePickupSpacing == 3)
        type = maptype_extratime;
      SetCell(x, y, type);
    }
  for (int x = sx - RoomHalfWidth; x <= sx + RoomHalfWidth; x++)
    for (int y = sy - RoomHalfHeight; y <= sy + RoomHalfHeight; y++) {
      bool wall = x == sx - RoomHalfWidth || x == sx + RoomHalfWidth ||
                  y == sy - RoomHalfHeight || y == sy + RoomHalfHeight;
      SetCell(x, y, wall ? maptype_blocknormal : maptype_gravitydown);
    }
  SetCell(w - 1, h - 1, maptype_finish);
}

// Normal-block walls around the edge, a few scattered blocks, a ceiling block
// above the spawn for the tether and one finish in the far corner.
static void FillSparse(int w, int h, int sx, int sy)
{
  for (int x = 0; x < w; x++)
    for (int y = 0; y < h; y++) {
      bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
      bool scattered = x % SparseBlockSpacing == 6 && y % SparseBlockSpacing == 6;
      SetCell(x, y, edge || scattered ? maptype_blocknormal : maptype_nothing);
    }
  for (int x = sx - 1; x <= sx + 1; x++)
    SetCell(x, sy - CeilingRise, maptype_blocknormal);
  SetCell(sx, sy, maptype_nothing);
  SetCell(w - 2, h - 2, maptype_finish);
}

static bool WriteLevels()
{
  if (mkdir("Levels", 0755) != 0)
    return false;
  for (int n = 1; n <= level_count; n++) {
    const LevelPlan& p = LevelPlans[n];
    memset(MapGrid, 0, sizeof(MapGrid));
    LevelWidth = p.width;
    LevelHeight = p.height;
    int sx = p.width / 2, sy = p.height / 2;
    if (p.dense)
      FillDense(p.width, p.height, sx, sy);
    else
      FillSparse(p.width, p.height, sx, sy);
    SetCell(sx, sy, maptype_playerspawn);
    PathBuffer path;
    char title[64];
    snprintf(title, sizeof(title), "Bench %s\n", p.name);
    if (!LevelFileName(path, n) || !WriteLevelFile(path, title))
      return false;
  }
  return true;
}

static char WorkDir[] = "/tmp/tetherorb2-bench-XXXXXX";

static bool MakeWorkDir(const char* repo)
{
  PathBuffer media;
  if (!mkdtemp(WorkDir) || chdir(WorkDir) != 0)
    return false;
  if (!PlacePath(media, repo, "Media") || symlink(media, "Media") != 0)
    return false;
  FILE* f = fopen("settings.ini", "w");
  if (!f)
    return false;
  fprintf(f, "screenw = 800\nscreenh = 600\nscreenbpp = 0\nfullscreen = 0\n"
             "showcursor = 0\nantialiasing = 0\nmipmapping = 1\n");
  fclose(f);
  return WriteLevels();
}

// Removes what MakeWorkDir and a run can leave in the working directory.
static void RemoveWorkDir()
{
  PathBuffer path;
  for (int n = 1; n <= level_count; n++) {
    if (LevelFileName(path, n))
      unlink(path);
    if (ScoreFileName(path, n))
      unlink(path);
  }
  rmdir("Levels");
  unlink("Media");
  unlink("settings.ini");
  if (chdir("/") == 0)
    rmdir(WorkDir);
}

// ---- frames -----------------------------------------------------------------

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

static void PrintLoad(const char* when)
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

static CaseResult Summarise(double* ms, int count)
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

// Runs the prepared state; before each frame prepare() may reset whatever the
// previous frame changed. The preparation is not timed.
static const char* CaseFilter = "";

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

// ---- play -------------------------------------------------------------------

static int AttachedFrames;
static const char* PlaySuffix = "";   // tells the runs without sound apart

void HoldTether(int frame)
{
  InputState.MouseButtonState[ButtonLeft] = InputHeld;
  InputState.KeyState[KeyRight] = (frame / 40) % 2 ? InputHeld : InputUp;
  InputState.KeyState[KeyLeft] = (frame / 40) % 2 ? InputUp : InputHeld;
  LevelTimer = LevelTimeAtStart;
  AttachedFrames += Ball.attached;
}

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

// ---- editor -----------------------------------------------------------------

static int SweepLevel;

// The pan keys stay held while the camera sweeps diagonally across the whole
// level, one stretch per frame, so every part of it is drawn. The view stays
// inside the level, so every level size fills the screen alike.
static float SweepSpan(float levelSize, float viewSize, float share)
{
  float travel = levelSize - viewSize;
  return viewSize / 2 + (travel > 0 ? share * travel : travel / 2);
}

static void SweepCamera(int frame)
{
  InputState.KeyState[KeyRight] = InputHeld;
  InputState.KeyState[KeyDown] = InputHeld;
  if (frame < 0)
    frame = 0;
  float share = (float)frame / MeasuredFrames;
  const LevelPlan& p = LevelPlans[SweepLevel];
  Camera.camX = SweepSpan((float)p.width, EditorViewHeight * AspectRatio, share);
  Camera.camY = SweepSpan((float)p.height, EditorViewHeight, share);
}

static CaseResult EditorCase(int level)
{
  ClearInput();
  StartLevel(level);
  SweepLevel = level;
  char name[96];
  snprintf(name, sizeof(name), "editor %s", LevelPlans[level].name);
  return RunCase(name, gamestate_editing, SweepCamera);
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

// A flood fill and a rectangle over the whole largest level, each an undoable
// step, alternating two brushes so every cell changes every time.
static void TimeWholeLevelFills()
{
  double flood[LoadRepeats], rect[LoadRepeats];
  memset(MapGrid, 0, sizeof(MapGrid));
  LevelWidth = MaxLevelWidth;
  LevelHeight = MaxLevelHeight;
  HistoryClear();
  for (int i = 0; i < LoadRepeats; i++) {
    double start = NowMs();
    HistoryBegin();
    FloodFill(MaxLevelWidth / 2, MaxLevelHeight / 2, maptype_blocknormal);
    HistoryEnd();
    flood[i] = NowMs() - start;
    start = NowMs();
    HistoryBegin();
    FillRect(0, 0, MaxLevelWidth - 1, MaxLevelHeight - 1, maptype_nothing);
    HistoryEnd();
    rect[i] = NowMs() - start;
  }
  CaseResult f = Summarise(flood, LoadRepeats), r = Summarise(rect, LoadRepeats);
  printf("editor fill of 998 x 1000: flood median %.3f ms, slowest %.3f ms; rectangle median %.3f ms, "
         "slowest %.3f ms\n", f.median, flood[LoadRepeats - 1], r.median, rect[LoadRepeats - 1]);
  HistoryClear();
}

// Whole-level rectangle fills of the largest level over mixed cells (made
// anew outside the timing before each), about 0.7 MB of history each, until
// the ring has been filled twice over and old steps are being forgotten.
static void TimeFillsWithFullHistory()
{
  const int Steps = 2 * EditBudgetBytes / (MaxLevelWidth * MaxLevelHeight * 2 / 3);
  double slowest = 0, total = 0;
  LevelWidth = MaxLevelWidth;
  LevelHeight = MaxLevelHeight;
  HistoryClear();
  for (int i = 0; i < Steps; i++) {
    for (int x = 0; x < MaxLevelWidth; x++)
      for (int y = 0; y < MaxLevelHeight; y++)
        MapGrid[x * MapSize + y] = 1 + (x + 3 * y + i) % DenseBlockTypes;
    double start = NowMs();
    HistoryBegin();
    FillRect(0, 0, MaxLevelWidth - 1, MaxLevelHeight - 1, maptype_nothing);
    HistoryEnd();
    double ms = NowMs() - start;
    total += ms;
    slowest = ms > slowest ? ms : slowest;
  }
  printf("editor fill of 998 x 1000 mixed cells, %d steps with the history full: mean %.3f ms, slowest %.3f ms, "
         "%d steps kept\n", Steps, total / Steps, slowest, HistoryUndoCount());
  HistoryClear();
}

// The editor on the empty largest level, F flood-filling all of it every
// frame with another brush, past the step table's size so old steps go.
static void FillEveryFrame(int frame)
{
  InputState.KeyState[KeyF] = InputPressed;
  EditorBrush = 1 + (frame & 1);
}

static void EditorFillCase()
{
  ClearInput();
  memset(MapGrid, 0, sizeof(MapGrid));
  LevelWidth = MaxLevelWidth;
  LevelHeight = MaxLevelHeight;
  Camera.camX = MaxLevelWidth / 2;
  Camera.camY = MaxLevelHeight / 2;
  HistoryClear();
  CaseResult r = RunCase("editor 998 x 1000, F every frame", gamestate_editing, FillEveryFrame);
  if (r.median > 0)
    printf("  (%d steps kept)\n", HistoryUndoCount());
  HistoryClear();
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
