// replay: the text form of recorded play, every version.
#include "game/files/replay.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

static const char ReplayMagic[] = "tetherorb2-replay ";   // then the version
static const char ReplayKeyLetters[] = "LRUDJ";   // bit i of a version 1 run's keys is letter i
static const char HeldLetters[] = "JTS";          // jump, tether, tether shot
static const int ReplayLineSize = 256;
static const float MaxReplayAim = 4.0f * MaxReplayScreen;  // window pixels, far beyond any window
static const float MinReplayTimeScale = 0.2f;
static const float MaxReplayTimeScale = 2.0f;
static const int FloatTextBytes = 16;   // "-1.17549435e-38" and its terminator: the longest %.9g of a float

void ClearReplay(Replay* r)
{
  r->version = ReplayKeysVersion;
  r->screenWidth = ReplayScreenWidth;
  r->screenHeight = ReplayScreenHeight;
  r->frameCount = 0;
  r->maxRuns = MaxReplayRuns;
  r->runs.clear();
}

static bool SameBits(float a, float b)
{
  return memcmp(&a, &b, sizeof a) == 0;
}

static bool SameControls(const PlayControls& a, const PlayControls& b)
{
  return SameBits(a.steerX, b.steerX) && SameBits(a.steerY, b.steerY) && SameBits(a.aimX, b.aimX) &&
         SameBits(a.aimY, b.aimY) && a.jump == b.jump && a.tether == b.tether && a.tetherShot == b.tetherShot;
}

// Everything but the frame count alike.
static bool SameInput(const ReplayRun& a, const ReplayRun& b)
{
  return SameBits(a.timeScale, b.timeScale) && a.screenWidth == b.screenWidth &&
         a.screenHeight == b.screenHeight && a.keys == b.keys && a.mouseX == b.mouseX && a.mouseY == b.mouseY &&
         a.button == b.button && SameControls(a.controls, b.controls);
}

// Adds run, merged into the last one when only the frame count differs.
static bool AppendRun(Replay* r, const ReplayRun& run)
{
  if (run.frames < 1 || r->frameCount > MaxReplayFrames - run.frames)
    return false;
  if (!r->runs.empty() && SameInput(r->runs.back(), run)) {
    r->runs.back().frames += run.frames;
  } else {
    if ((int)r->runs.size() >= r->maxRuns)
      return false;
    r->runs.push_back(run);
  }
  r->frameCount += run.frames;
  return true;
}

bool AppendReplay(Replay* r, int frames, float timeScale, int keys, int mouseX, int mouseY, int button)
{
  ReplayRun run = {};
  run.frames = frames;
  run.timeScale = timeScale;
  run.screenWidth = r->screenWidth;
  run.screenHeight = r->screenHeight;
  run.keys = keys & replaykey_all;
  run.mouseX = mouseX;
  run.mouseY = mouseY;
  run.button = button ? 1 : 0;
  return AppendRun(r, run);
}

bool AppendReplayControls(Replay* r, int frames, float timeScale, const PlayControls& c, int width, int height)
{
  ReplayRun run = {};
  run.frames = frames;
  run.timeScale = timeScale;
  run.screenWidth = width;
  run.screenHeight = height;
  run.controls = c;
  return AppendRun(r, run);
}

// ---- writing ----------------------------------------------------------------

// The shortest decimal form that reads back as the same float.
static void FormatFloat(char* out, size_t size, float v)
{
  for (int digits = 6; digits <= 9; digits++) {
    snprintf(out, size, "%.*g", digits, v);
    if (strtof(out, nullptr) == v)
      return;
  }
}

// Letters of the bits set in bits, one per letter of letters; "-" for none.
static void FormatLetters(char* out, int bits, const char* letters)
{
  int n = 0;
  for (int k = 0; letters[k]; k++)
    if (bits & (1 << k))
      out[n++] = letters[k];
  if (n == 0)
    out[n++] = '-';
  out[n] = 0;
}

static void FormatRun(char* line, int version, const ReplayRun& run)
{
  char scale[FloatTextBytes], letters[8];
  FormatFloat(scale, sizeof scale, run.timeScale);
  if (version == ReplayKeysVersion) {
    FormatLetters(letters, run.keys, ReplayKeyLetters);
    snprintf(line, MaxReplayLineBytes, "%d %s %s %d %d %d\n", run.frames, scale, letters, run.mouseX,
             run.mouseY, run.button);
    return;
  }
  const PlayControls& c = run.controls;
  char steerX[FloatTextBytes], steerY[FloatTextBytes], aimX[FloatTextBytes], aimY[FloatTextBytes];
  FormatFloat(steerX, sizeof steerX, c.steerX);
  FormatFloat(steerY, sizeof steerY, c.steerY);
  FormatFloat(aimX, sizeof aimX, c.aimX);
  FormatFloat(aimY, sizeof aimY, c.aimY);
  FormatLetters(letters, (int)c.jump | (int)c.tether << 1 | (int)c.tetherShot << 2, HeldLetters);
  snprintf(line, MaxReplayLineBytes, "%d %s %s %s %s %s %s\n", run.frames, scale, steerX, steerY, letters,
           aimX, aimY);
}

// Where the text goes: a stream, or a buffer of size bytes.
struct TextSink {
  FILE* file;
  char* out;
  size_t size, used;
  bool fits;
};

static void Put(TextSink* s, const char* line)
{
  size_t n = strlen(line);
  if (s->file) {
    s->fits = s->fits && fputs(line, s->file) >= 0;
  } else if (s->fits && s->used + n < s->size) {
    memcpy(s->out + s->used, line, n + 1);
    s->used += n;
  } else {
    s->fits = false;
  }
}

// The version line, the first screen line, then each run's line, with a
// screen line before a run whose window differs from the last.
static void PutReplay(TextSink* s, const Replay* r)
{
  char line[MaxReplayLineBytes];
  snprintf(line, sizeof line, "%s%d\nscreen %d %d\n", ReplayMagic, r->version, r->screenWidth, r->screenHeight);
  Put(s, line);
  int width = r->screenWidth, height = r->screenHeight;
  for (const ReplayRun& run : r->runs) {
    if (run.screenWidth != width || run.screenHeight != height) {
      width = run.screenWidth;
      height = run.screenHeight;
      snprintf(line, sizeof line, "screen %d %d\n", width, height);
      Put(s, line);
    }
    FormatRun(line, r->version, run);
    Put(s, line);
  }
}

bool WriteReplay(FILE* f, const Replay* r)
{
  TextSink sink = {f, nullptr, 0, 0, true};
  PutReplay(&sink, r);
  return sink.fits && fflush(f) == 0 && !ferror(f);
}

long ReplayToText(const Replay* r, char* out, size_t size)
{
  TextSink sink = {nullptr, out, size, 0, size > 0};
  if (size > 0)
    out[0] = 0;
  PutReplay(&sink, r);
  return sink.fits ? (long)sink.used : -1;
}

// ---- reading ----------------------------------------------------------------

// "-" or distinct letters of letters, as bits; -1 for anything else.
static int ParseLetters(const char* text, const char* letters)
{
  if (strcmp(text, "-") == 0)
    return 0;
  int bits = 0;
  for (const char* c = text; *c; c++) {
    const char* at = strchr(letters, *c);
    if (!at)
      return -1;
    int bit = 1 << (at - letters);
    if (bits & bit)
      return -1;
    bits |= bit;
  }
  return bits;
}

static bool InRange(float v, float lo, float hi)
{
  return v >= lo && v <= hi;   // false for NaN
}

static bool ParseKeysRun(const char* line, Replay* r)
{
  int frames, mx, my, button, used = 0;
  float scale;
  char keyText[16];
  if (sscanf(line, "%d %f %15s %d %d %d %n", &frames, &scale, keyText, &mx, &my, &button, &used) != 6 ||
      line[used] != 0)
    return false;
  int keys = ParseLetters(keyText, ReplayKeyLetters);
  if (keys < 0 || !InRange(scale, MinReplayTimeScale, MaxReplayTimeScale) || (button != 0 && button != 1))
    return false;
  if (mx < 0 || my < 0 || mx >= r->screenWidth || my >= r->screenHeight)
    return false;
  return AppendReplay(r, frames, scale, keys, mx, my, button);
}

static bool ParseControlsRun(const char* line, Replay* r, int width, int height)
{
  int frames, used = 0;
  float scale;
  PlayControls c;
  char heldText[16];
  if (sscanf(line, "%d %f %f %f %15s %f %f %n", &frames, &scale, &c.steerX, &c.steerY, heldText, &c.aimX,
             &c.aimY, &used) != 7 ||
      line[used] != 0)
    return false;
  int held = ParseLetters(heldText, HeldLetters);
  if (held < 0 || !InRange(scale, MinReplayTimeScale, MaxReplayTimeScale) || !InRange(c.steerX, -1, 1) ||
      !InRange(c.steerY, -1, 1) || !InRange(c.aimX, -MaxReplayAim, MaxReplayAim) ||
      !InRange(c.aimY, -MaxReplayAim, MaxReplayAim))
    return false;
  c.jump = held & 1;
  c.tether = held & 2;
  c.tetherShot = held & 4;
  return AppendReplayControls(r, frames, scale, c, width, height);
}

// "screen W H" with both sides 1..MaxReplayScreen.
static bool ParseScreen(const char* line, int* width, int* height)
{
  int w, h, used = 0;
  if (sscanf(line, "screen %d %d %n", &w, &h, &used) != 2 || line[used] != 0 || w < 1 || h < 1 ||
      w > MaxReplayScreen || h > MaxReplayScreen)
    return false;
  *width = w;
  *height = h;
  return true;
}

// Reads one line without its line end; false at the end of the stream or
// when the line does not fit.
static bool ReadLine(FILE* f, char* line)
{
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

// The runs after the screen line; a version 2 replay may change the window between them.
static bool ReadRuns(FILE* f, Replay* r)
{
  char line[ReplayLineSize];
  int width = r->screenWidth, height = r->screenHeight;
  while (ReadLine(f, line)) {
    if (line[0] == 0)
      continue;
    bool ok;
    if (r->version == ReplayKeysVersion)
      ok = ParseKeysRun(line, r);
    else if (strncmp(line, "screen", 6) == 0)
      ok = ParseScreen(line, &width, &height);
    else
      ok = ParseControlsRun(line, r, width, height);
    if (!ok)
      return false;
  }
  return !ferror(f) && feof(f);
}

bool ReplayCameraLeads(const Replay* r)
{
  return r->version == ReplayLeadVersion;
}

bool ReadReplay(FILE* f, Replay* r)
{
  char line[ReplayLineSize];
  ClearReplay(r);
  size_t magic = strlen(ReplayMagic);
  bool ok = ReadLine(f, line) && strncmp(line, ReplayMagic, magic) == 0 && line[magic] != 0 &&
            line[magic + 1] == 0;
  int version = ok ? line[magic] - '0' : 0;   // one digit
  ok = version == ReplayKeysVersion || version == ReplayControlsVersion || version == ReplayLeadVersion;
  if (ok) {
    r->version = version;
    ok = ReadLine(f, line) && ParseScreen(line, &r->screenWidth, &r->screenHeight) && ReadRuns(f, r);
  }
  if (!ok)
    ClearReplay(r);
  return ok;
}
