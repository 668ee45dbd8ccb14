// solve_refine: the elite of finishing runs and its small changes.
#include "solve_refine.h"

#include "game/files/replay.h"
#include "game/run/replay_run.h"
#include "game/run/rules.h"
#include "game/run/update.h"

#include <cstdio>
#include <ctime>

static const int MaxFrameShift = 4;        // frames a segment grows or shrinks by in one change
static const int MaxPointerShift = 24;     // window pixels the pointer moves by in one change
static const int KeyBits = 5;              // replaykey_left .. replaykey_jump
static const int RunsPerClockCheck = 16;
static const double ProgressSeconds = 10;

static std::vector<SolveRun> Elite;
static unsigned long long RandomState;

static unsigned NextRandom()
{
  RandomState = RandomState * 6364136223846793005ull + 1442695040888963407ull;
  return (unsigned)(RandomState >> 33);
}

static int RandomIn(int lo, int hi)
{
  return lo + (int)(NextRandom() % (unsigned)(hi - lo + 1));
}

static double Seconds()
{
  return (double)clock() / CLOCKS_PER_SEC;
}

void ClearElite()
{
  Elite.clear();
}

static int WorstElite()
{
  int worst = 0;
  for (int i = 1; i < (int)Elite.size(); i++)
    if (Elite[i].score < Elite[worst].score)
      worst = i;
  return worst;
}

void OfferElite(const SolveRun& run)
{
  if ((int)Elite.size() < EliteSize) {
    Elite.push_back(run);
    return;
  }
  int worst = WorstElite();
  if (run.score >= Elite[worst].score)
    Elite[worst] = run;
}

const SolveRun* BestElite()
{
  const SolveRun* best = nullptr;
  for (const SolveRun& r : Elite)
    if (!best || r.score > best->score)
      best = &r;
  return best;
}

int PlaySegments(const std::vector<SolveSegment>& segments, int* frames)
{
  *frames = 0;
  for (const SolveSegment& s : segments)
    for (int f = 0; f < s.frames; f++) {
      ApplyReplayInput(s.keys, s.mouseX, s.mouseY, s.button);
      UpdateGame(ReplayTimeScale);
      ++*frames;
      int end = JudgeFrame();
      if (end == replayend_finish)
        return ScoreFromTimer();
      if (end != replayend_playing)
        return -1;
    }
  return -1;
}

static int Clamp(int v, int lo, int hi)
{
  return v < lo ? lo : v > hi ? hi : v;
}

// One small change to segment i of segs.
static void ChangeSegment(std::vector<SolveSegment>* segs, int i)
{
  SolveSegment* s = &(*segs)[i];
  int shift = RandomIn(1, MaxFrameShift) * (NextRandom() % 2 ? 1 : -1);
  switch (NextRandom() % 7) {
  case 0: s->frames = s->frames + shift < 1 ? 1 : s->frames + shift; break;
  case 1: s->keys ^= 1 << (NextRandom() % KeyBits); break;
  case 2:
    s->mouseX = Clamp(s->mouseX + RandomIn(-MaxPointerShift, MaxPointerShift), 0, ReplayScreenWidth - 1);
    s->mouseY = Clamp(s->mouseY + RandomIn(-MaxPointerShift, MaxPointerShift), 0, ReplayScreenHeight - 1);
    break;
  case 3: s->button ^= 1; break;
  case 4:   // a boundary moved: later segments keep their timing
    if (i + 1 < (int)segs->size() && s->frames + shift >= 1 && (*segs)[i + 1].frames - shift >= 1) {
      s->frames += shift;
      (*segs)[i + 1].frames -= shift;
    }
    break;
  case 5:   // split, and the second half changed
    if (s->frames >= 2) {
      SolveSegment second = *s;
      int cut = RandomIn(1, s->frames - 1);
      second.frames = s->frames - cut;
      s->frames = cut;
      segs->insert(segs->begin() + i + 1, second);
      ChangeSegment(segs, i + 1);
    }
    break;
  default:
    if (segs->size() > 1)
      segs->erase(segs->begin() + i);
    break;
  }
}

// The segments cut at the frame the finish was reached.
static void TrimToFrames(std::vector<SolveSegment>* segs, int frames)
{
  size_t n = 0;
  for (; n < segs->size() && frames > 0; n++) {
    if ((*segs)[n].frames > frames)
      (*segs)[n].frames = frames;
    frames -= (*segs)[n].frames;
  }
  segs->resize(n);
}

long RefineElite(void (*restart)(), unsigned seed, double untilSeconds, bool verbose)
{
  RandomState = seed * 2862933555777941757ull + 3037000493ull;
  long played = 0;
  double began = Seconds(), lastReport = began;
  while (!Elite.empty() && Seconds() < untilSeconds) {
    for (int k = 0; k < RunsPerClockCheck; k++, played++) {
      SolveRun trial = Elite[NextRandom() % Elite.size()];
      int changes = RandomIn(1, 2);
      for (int c = 0; c < changes; c++)
        ChangeSegment(&trial.segments, (int)(NextRandom() % trial.segments.size()));
      restart();
      int frames;
      trial.score = PlaySegments(trial.segments, &frames);
      if (trial.score < 0)
        continue;
      TrimToFrames(&trial.segments, frames);
      int best = BestElite()->score;
      OfferElite(trial);
      if (verbose && trial.score > best)
        fprintf(stderr, "refined to score %d after %.1f s\n", trial.score, Seconds() - began);
    }
    if (verbose && Seconds() - lastReport > ProgressSeconds) {
      lastReport = Seconds();
      fprintf(stderr, "%.0f s: %ld runs refined, best %d\n", lastReport - began, played, BestElite()->score);
    }
  }
  return played;
}
