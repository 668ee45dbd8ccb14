// replay: the text form of recorded play and the headless runner.
#include "game/replay.h"

#include "app/host.h"
#include "app/gamepad.h"
#include "app/input.h"
#include "app/keymap.h"
#include "app/video.h"
#include "game/collision.h"
#include "game/level_files.h"
#include "game/rules.h"
#include "game/update.h"
#include "game/world.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

static const char ReplayMagic[] = "tetherorb2-replay 1";
static const char ReplayKeyLetters[] = "LRUDJ";   // bit i of keys is letter i
static const int ReplayLineSize = 256;
static const int MaxReplayScreen = 16384;         // pixels along either side
static const int FileCopyChunk = 4096;            // bytes

// The SDL key symbols behind each replay key bit, in bit order.
static const int ReplayKeySymbols[] = {KeyLeft, KeyRight, KeyUp, KeyDown, KeySpace};
static const int ReplayKeyCount = sizeof(ReplayKeySymbols) / sizeof(ReplayKeySymbols[0]);

void ClearReplay(Replay* r) {
  r->screenWidth = ReplayScreenWidth;
  r->screenHeight = ReplayScreenHeight;
  r->runCount = 0;
  r->frameCount = 0;
}

bool AppendReplay(Replay* r, int frames, float timeScale, int keys, int mouseX, int mouseY, int button) {
  if (frames < 1 || r->frameCount > MaxReplayFrames - frames)
    return false;
  if (r->runCount > 0) {
    ReplayRun* last = &r->runs[r->runCount - 1];
    if (last->timeScale == timeScale && last->keys == keys && last->mouseX == mouseX &&
        last->mouseY == mouseY && last->button == button) {
      last->frames += frames;
      r->frameCount += frames;
      return true;
    }
  }
  if (r->runCount >= MaxReplayRuns)
    return false;
  ReplayRun* run = &r->runs[r->runCount++];
  run->frames = frames;
  run->timeScale = timeScale;
  run->keys = keys & replaykey_all;
  run->mouseX = mouseX;
  run->mouseY = mouseY;
  run->button = button ? 1 : 0;
  r->frameCount += frames;
  return true;
}

// The shortest decimal form that reads back as the same float.
static void FormatFloat(char* out, size_t size, float v) {
  for (int digits = 6; digits <= 9; digits++) {
    snprintf(out, size, "%.*g", digits, v);
    if (strtof(out, nullptr) == v)
      return;
  }
}

bool WriteReplay(FILE* f, const Replay* r) {
  fprintf(f, "%s\nscreen %d %d\n", ReplayMagic, r->screenWidth, r->screenHeight);
  for (int i = 0; i < r->runCount; i++) {
    const ReplayRun* run = &r->runs[i];
    char scale[32], keys[8];
    int n = 0;
    FormatFloat(scale, sizeof scale, run->timeScale);
    for (int k = 0; k < ReplayKeyCount; k++)
      if (run->keys & (1 << k))
        keys[n++] = ReplayKeyLetters[k];
    if (n == 0)
      keys[n++] = '-';
    keys[n] = 0;
    fprintf(f, "%d %s %s %d %d %d\n", run->frames, scale, keys, run->mouseX, run->mouseY, run->button);
  }
  return fflush(f) == 0 && !ferror(f);
}

// "-" or distinct letters of "LRUDJ"; -1 for anything else.
static int ParseKeys(const char* text) {
  if (strcmp(text, "-") == 0)
    return 0;
  int keys = 0;
  for (const char* c = text; *c; c++) {
    const char* at = strchr(ReplayKeyLetters, *c);
    if (!at)
      return -1;
    int bit = 1 << (at - ReplayKeyLetters);
    if (keys & bit)
      return -1;
    keys |= bit;
  }
  return keys;
}

static bool ParseRun(const char* line, Replay* r) {
  int frames, mx, my, button, used = 0;
  float scale;
  char keyText[16];
  if (sscanf(line, "%d %f %15s %d %d %d %n", &frames, &scale, keyText, &mx, &my, &button, &used) != 6)
    return false;
  if (line[used] != 0)
    return false;
  int keys = ParseKeys(keyText);
  if (keys < 0 || !(scale >= 0.2f && scale <= 2.0f) || (button != 0 && button != 1))
    return false;
  if (mx < 0 || my < 0 || mx >= r->screenWidth || my >= r->screenHeight)
    return false;
  return AppendReplay(r, frames, scale, keys, mx, my, button);
}

// Reads one line without its line end; false at the end of the stream or
// when the line does not fit.
static bool ReadLine(FILE* f, char* line) {
  if (!fgets(line, ReplayLineSize, f))
    return false;
  size_t n = strlen(line);
  if (n > 0 && line[n - 1] == '\n')
    line[--n] = 0;
  else if (!feof(f))
    return false;
  if (n > 0 && line[n - 1] == '\r')
    line[--n] = 0;
  return true;
}

bool ReadReplay(FILE* f, Replay* r) {
  char line[ReplayLineSize];
  int w, h, used = 0;
  ClearReplay(r);
  if (!ReadLine(f, line) || strcmp(line, ReplayMagic) != 0)
    return false;
  if (!ReadLine(f, line) || sscanf(line, "screen %d %d %n", &w, &h, &used) != 2 || line[used] != 0 ||
      w < 1 || h < 1 || w > MaxReplayScreen || h > MaxReplayScreen) {
    ClearReplay(r);
    return false;
  }
  r->screenWidth = w;
  r->screenHeight = h;
  while (ReadLine(f, line)) {
    if (line[0] == 0)
      continue;
    if (!ParseRun(line, r)) {
      ClearReplay(r);
      return false;
    }
  }
  if (ferror(f) || !feof(f)) {
    ClearReplay(r);
    return false;
  }
  return true;
}

void UseReplayScreen(const Replay* r) {
  ScreenWidth = (float)r->screenWidth;
  ScreenHeight = (float)r->screenHeight;
  AspectRatio = ScreenWidth / ScreenHeight;
}

void ResetReplayInput() {
  memset(&InputState, 0, sizeof InputState);
  ReleasePad();
  ResetControlsHistory();
  InputState.MouseX = (int)(ScreenWidth / 2);
  InputState.MouseY = (int)(ScreenHeight / 2);
  ReadControls(DefaultBindings);
}

static void ApplyControl(int* state, bool down, void (*press)(int), void (*release)(int), int code) {
  if (down && *state == InputUp)
    press(code);
  else if (!down && *state != InputUp)
    release(code);
}

void ApplyReplayInput(int keys, int mouseX, int mouseY, int button) {
  AgeKeys();
  AgeButtons();
  for (int k = 0; k < ReplayKeyCount; k++) {
    int sym = ReplayKeySymbols[k];
    ApplyControl(&InputState.KeyState[sym], (keys >> k) & 1, ApplyKeyDown, ApplyKeyUp, sym);
  }
  ApplyControl(&InputState.MouseButtonState[ButtonLeft], button != 0, ApplyButtonDown, ApplyButtonUp,
               ButtonLeft);
  InputState.MouseX = mouseX;
  InputState.MouseY = mouseY;
  ReadControls(DefaultBindings);
}

void ReplayPixelAt(float wx, float wy, int* mouseX, int* mouseY) {
  float halfW = Camera.viewHeight * 0.5f * AspectRatio, halfH = Camera.viewHeight * 0.5f;
  float px = ((wx - Camera.camX) / halfW + 1) * 0.5f * ScreenWidth;
  float py = ((wy - Camera.camY) / halfH + 1) * 0.5f * ScreenHeight;
  px = px < 0 ? 0 : px > ScreenWidth - 1 ? ScreenWidth - 1 : px;
  py = py < 0 ? 0 : py > ScreenHeight - 1 ? ScreenHeight - 1 : py;
  *mouseX = (int)lroundf(px);
  *mouseY = (int)lroundf(py);
}

int JudgeFrame() {
  if (GameState == gamestate_playing)
    return replayend_playing;
  if (BallAtFinish())
    return replayend_finish;
  if (TouchesHarmful(Ball.x, Ball.y, BallRadius))
    return replayend_harmed;
  return replayend_timeout;
}

static bool CopyFile(const char* from, const char* to) {
  FILE* in = fopen(from, "rb");
  if (!in)
    return false;
  FILE* out = fopen(to, "wb");
  bool ok = out != nullptr;
  char chunk[FileCopyChunk];
  size_t n;
  while (ok && (n = fread(chunk, 1, sizeof chunk, in)) > 0)
    ok = fwrite(chunk, 1, n, out) == n;
  ok = ok && !ferror(in);
  fclose(in);
  if (out && fclose(out) != 0)
    ok = false;
  return ok;
}

bool StartLevelFile(const char* path) {
  char home[4096], dir[] = "/tmp/tetherorb2-levelXXXXXX", levels[4200], copy[4300];
  if (!getcwd(home, sizeof home) || !mkdtemp(dir))
    return false;
  snprintf(levels, sizeof levels, "%s/Levels", dir);
  snprintf(copy, sizeof copy, "%s/level1.dat", levels);
  bool ok = mkdir(levels, 0700) == 0 && CopyFile(path, copy) && chdir(dir) == 0;
  if (ok) {
    GameState = gamestate_playing;
    StartLevel(1);
    CurrentLevel = 0;   // no slot: a finish writes no best score or ghost in the working directory
    ok = chdir(home) == 0;
  }
  remove(copy);
  rmdir(levels);
  rmdir(dir);
  return ok;
}

ReplayOutcome PlayReplay(const Replay* r) {
  ReplayOutcome out = {replayend_playing, 0, 0, 0};
  int slot = CurrentLevel - 1;
  bool slotValid = slot >= 0 && slot < MaxLevels;
  int kept = slotValid ? LevelBest[slot] : 0;
  if (slotValid)
    LevelBest[slot] = INT_MAX;
  UseReplayScreen(r);
  ResetReplayInput();
  GameState = gamestate_playing;
  for (int i = 0; i < r->runCount && out.end == replayend_playing; i++) {
    const ReplayRun* run = &r->runs[i];
    for (int n = 0; n < run->frames && out.end == replayend_playing; n++) {
      ApplyReplayInput(run->keys, run->mouseX, run->mouseY, run->button);
      UpdateGame(run->timeScale);
      out.frames++;
      out.end = JudgeFrame();
    }
  }
  if (slotValid)
    LevelBest[slot] = kept;
  out.timeLeft = LevelTimer;
  if (out.end == replayend_finish)
    out.score = ScoreFromTimer();
  return out;
}

const char* ReplayEndName(int end) {
  switch (end) {
    case replayend_finish: return "finish";
    case replayend_harmed: return "harmful block";
    case replayend_timeout: return "time out";
    default: return "still playing";
  }
}
