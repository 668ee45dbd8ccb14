// hub_game: levels read and replays re-run by the game's own code.
#include "hub/hub_game.h"

#include "game/files/level_check.h"
#include "game/files/level_files.h"
#include "game/play/time_scale.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "game/run/replay_run.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

static Replay Submitted;   // too large for a thread's stack

static void Refuse(Verdict* out, int error, const std::string& why)
{
  out->error = error;
  out->why = why;
}

// The game's writers print to a stream; open_memstream gathers what they print.
static std::string Printed(const std::function<void(FILE*)>& write)
{
  char* bytes = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&bytes, &size);
  if (!f)
    return std::string();
  write(f);
  fclose(f);
  std::string text(bytes, size);
  free(bytes);
  return text;
}

// PostgreSQL keeps text as UTF-8, and the listings are JSON: a title must be UTF-8.
static bool IsUtf8(const std::string& s)
{
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = (unsigned char)s[i];
    int follow = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xe ? 2 : (c >> 3) == 0x1e ? 3 : -1;
    if (follow < 0 || i + follow >= s.size())
      return false;
    unsigned long code = follow == 0 ? c : c & (0x3f >> follow);
    for (int k = 1; k <= follow; k++) {
      unsigned char next = (unsigned char)s[i + k];
      if ((next & 0xc0) != 0x80)
        return false;
      code = (code << 6) | (next & 0x3f);
    }
    static const unsigned long Least[] = {0, 0x80, 0x800, 0x10000};
    if (code < Least[follow] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
      return false;
    i += follow + 1;
  }
  return true;
}

// Reads the level into the game's grid; false (with out refused) when the
// hub will not take it.
static bool ReadLevel(const GameLimits& limits, const std::string& text, Verdict* out)
{
  char why[160];
  if (text.empty()) {
    Refuse(out, verdict_malformed, "level: the text is empty");
    return false;
  }
  if ((long)text.size() > limits.maxLevelBytes) {
    snprintf(why, sizeof why, "level: %zu bytes, more than the %ld allowed", text.size(), limits.maxLevelBytes);
    Refuse(out, verdict_too_large, why);
    return false;
  }
  FILE* f = fmemopen((void*)text.data(), text.size(), "r");
  if (!f) {
    Refuse(out, verdict_malformed, "level: the text cannot be read");
    return false;
  }
  char title[TitleSlotSize];
  LevelRepairs repairs;
  ReadLevelStream(f, title, &repairs);
  fclose(f);

  if (repairs.titleCut)
    snprintf(why, sizeof why, "level: the title line is longer than %d characters", TitleSlotSize - 2);
  else if (repairs.sizeClamped)
    snprintf(why, sizeof why, "level: the width and height must be whole numbers up to %d and %d",
             MaxLevelWidth, MaxLevelHeight);
  else if (repairs.shortRows > 0)
    snprintf(why, sizeof why, "level: %d rows are missing or shorter than the width", repairs.shortRows);
  else if (repairs.badCharacters > 0)
    snprintf(why, sizeof why, "level: %d cells are not letters a to l", repairs.badCharacters);
  else
    why[0] = 0;
  if (why[0]) {
    Refuse(out, verdict_malformed, why);
    return false;
  }
  out->title.assign(title, strlen(title) - 1);   // the reader always ends it in a line feed
  if (!IsUtf8(out->title)) {
    Refuse(out, verdict_malformed, "level: the title is not UTF-8 text");
    return false;
  }
  out->width = LevelWidth;
  out->height = LevelHeight;
  long cells = (long)LevelWidth * LevelHeight;
  if (cells > limits.maxLevelCells) {
    snprintf(why, sizeof why, "level: %d x %d is %ld cells, more than the %ld allowed", LevelWidth,
             LevelHeight, cells, limits.maxLevelCells);
    Refuse(out, verdict_refused, why);
    return false;
  }
  const char* note = LevelCheckNote(CheckLevel());
  if (note) {
    snprintf(why, sizeof why, "level: %s", note);
    Refuse(out, verdict_refused, why);
    return false;
  }
  out->level = Printed([&](FILE* f) { WriteLevelStream(f, title); });
  return true;
}

static bool ReadSubmittedReplay(const GameLimits& limits, const std::string& text, Verdict* out)
{
  char why[160];
  if ((long)text.size() > limits.maxReplayBytes) {
    snprintf(why, sizeof why, "replay: %zu bytes, more than the %ld allowed", text.size(), limits.maxReplayBytes);
    Refuse(out, verdict_too_large, why);
    return false;
  }
  FILE* f = text.empty() ? nullptr : fmemopen((void*)text.data(), text.size(), "r");
  bool read = f && ReadReplay(f, &Submitted);
  if (f)
    fclose(f);
  if (!read) {
    Refuse(out, verdict_malformed,
           "replay: not a replay file (\"tetherorb2-replay 1\", \"2\" or \"3\", the screen line, then runs)");
    return false;
  }
  for (size_t i = 0; i < Submitted.runs.size(); i++) {
    const ReplayRun& run = Submitted.runs[i];
    if (!IsPlayedTimeScale(run.timeScale))
      snprintf(why, sizeof why, "replay: run %zu has the time scale %g; play takes only those of whole frames"
               " of %d ms or more, %g to %g", i + 1, run.timeScale, ShortestFrameMilliseconds,
               FrameTimeScale(ShortestFrameMilliseconds), MaxFrameTimeScale);
    else if (run.controls.tetherShot && !run.controls.tether)
      snprintf(why, sizeof why, "replay: run %zu shoots the tether without holding it", i + 1);
    else
      continue;
    Refuse(out, verdict_refused, why);
    return false;
  }
  int runCount = (int)Submitted.runs.size();
  if (runCount > limits.maxReplayRuns || Submitted.frameCount > limits.maxReplayFrames) {
    snprintf(why, sizeof why, "replay: %d runs of %d frames, more than the %ld runs or %ld frames allowed",
             runCount, Submitted.frameCount, limits.maxReplayRuns, limits.maxReplayFrames);
    Refuse(out, verdict_refused, why);
    return false;
  }
  return true;
}

void JudgeSubmission(const GameLimits& limits, const std::string& levelText, const std::string* replayText,
                     Verdict* out)
{
  *out = Verdict();
  out->error = verdict_ok;
  if (!ReadLevel(limits, levelText, out) || !replayText)
    return;
  if (!ReadSubmittedReplay(limits, *replayText, out))
    return;
  // No slot: a finish writes no best score or ghost, as in the editor's test run.
  CurrentLevel = 0;
  StartGridLevel();
  ReplayOutcome run = PlayReplay(&Submitted);
  out->ran = true;
  out->frames = run.frames;
  out->finished = run.end == replayend_finish;
  out->score = run.score;
  out->replay = Printed([](FILE* f) { WriteReplay(f, &Submitted); });
  if (!out->finished) {
    char why[160];
    if (run.end == replayend_playing)
      snprintf(why, sizeof why, "replay does not reach the finish: it runs out after %d frames with the level still in play",
               run.frames);
    else
      snprintf(why, sizeof why, "replay does not reach the finish: it ends by %s after %d frames",
               ReplayEndName(run.end), run.frames);
    Refuse(out, verdict_refused, why);
  }
}
