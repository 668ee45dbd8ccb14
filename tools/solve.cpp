// solve: an archive search over short input segments on the real game update.
#include "solve.h"
#include "solve_distance.h"
#include "solve_refine.h"

#include "game/base/screen.h"
#include "game/files/replay_record.h"
#include "game/play/world.h"
#include "game/run/replay_run.h"
#include "game/run/rules.h"
#include "game/run/update.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <unordered_map>
#include <vector>

static const int MaxStartItems = 64;        // extra-time items tracked per level
static const float PositionBuckets = 2;     // archive cells per world unit
static const float SpeedBucket = 0.1f;      // world units per frame
static const int MaxSpeedBucket = 7;
static const int MaxLengthBucket = 15;      // tether length, whole units
static const int SegmentLengths[] = {3, 6, 10, 16, 24};  // frames
static const int SegmentLengthCount = sizeof(SegmentLengths) / sizeof(SegmentLengths[0]);
static const int AimDirections = 32;        // tether directions tried, evenly spread
static const float AimReach = 6;            // world units from the ball to the aim point
static const int MaxSegmentsPerTry = 3;
static const int TriesPerClockCheck = 64;
static const double JumpChance = 0.35;      // a segment holds the jump key
static const double KeepTetherChance = 0.75; // an attached ball keeps the button down
static const double FireChance = 0.4;       // a released ball fires the tether
static const float FullTurn = 6.2831853f;   // radians
static const int TournamentSize = 12;
static const double UniformPickChance = 0.25;
static const float VisitWeight = 0.4f;      // distance units per square root of visits
static const float TimeWeight = 0.05f;      // distance units per tenth of a second left
static const double ProgressSeconds = 2;
static const int Steering[] = {0, replaykey_left, replaykey_right, replaykey_up, replaykey_down,
                               replaykey_left | replaykey_up, replaykey_right | replaykey_up,
                               replaykey_left | replaykey_down, replaykey_right | replaykey_down};
static const int SteeringCount = sizeof(Steering) / sizeof(Steering[0]);
static const int SteadySegmentFrames = 10;  // frames between the archived states of steady play
static const int MaxSteadyFrames = 4000;    // beyond any timer a level gives

// Everything of the game state that moves the ball, and the input of the last frame.
struct Snapshot {
  BallRecord ball;
  CameraRecord camera;
  AimPointRecord aim;
  float timer, trail;
  uint64_t taken;           // bit i: extra-time item i of StartItems has been collected
  int keys, button, mouseX, mouseY;
};

struct Entry {
  Snapshot state;
  int node;                 // the segment that ended here
  int visits;
  float distance;           // path distance to a finish
};

struct Node {
  int parent;               // -1 at the start of the level
  int frames;
  int keys, button, mouseX, mouseY;
};

static LevelItem StartItems[MaxStartItems * 4];
static int StartItemCount;
static std::vector<Entry> Archive;
static std::unordered_map<uint64_t, int> ArchiveIndex;
static std::vector<Node> Nodes;
static uint64_t RandomState;

static unsigned NextRandom() {
  RandomState = RandomState * 6364136223846793005ull + 1442695040888963407ull;
  return (unsigned)(RandomState >> 33);
}

static double RandomUnit() { return NextRandom() / 2147483648.0; }

static bool SameItem(const LevelItem* a, const LevelItem* b) {
  return a->type == b->type && a->x == b->x && a->y == b->y;
}

static uint64_t CollectedMask() {
  uint64_t taken = 0;
  for (int i = 0; i < StartItemCount; i++) {
    bool present = false;
    for (int j = 0; j < ItemCount && !present; j++)
      present = SameItem(&StartItems[i], &ItemTable[j]);
    if (!present && i < MaxStartItems)
      taken |= 1ull << i;
  }
  return taken;
}

static void Capture(Snapshot* s, int keys, int button, int mouseX, int mouseY) {
  s->ball = Ball;
  s->camera = Camera;
  s->aim = AimPoint;
  s->timer = LevelTimer;
  s->trail = TrailTimer;
  s->taken = CollectedMask();
  s->keys = keys;
  s->button = button;
  s->mouseX = mouseX;
  s->mouseY = mouseY;
}

// Puts the game back into a captured state; particles are left out, they never move the ball.
static void Restore(const Snapshot* s) {
  Ball = s->ball;
  Camera = s->camera;
  AimPoint = s->aim;
  LevelTimer = s->timer;
  TrailTimer = s->trail;
  ItemCount = 0;
  for (int i = 0; i < StartItemCount; i++)
    if (i >= MaxStartItems || !(s->taken >> i & 1))
      ItemTable[ItemCount++] = StartItems[i];
  ResetReplayInput();
  ApplyReplayInput(s->keys, s->mouseX, s->mouseY, s->button);
  ShowScreen(gamestate_playing);
}

static int Bucket(float v, float size, int limit) {
  int b = (int)lroundf(v / size);
  return b < -limit ? -limit : b > limit ? limit : b;
}

static uint64_t ArchiveKey(const Snapshot* s) {
  const BallRecord* b = &s->ball;
  uint64_t ix = (uint64_t)(int)floorf(b->x * PositionBuckets) & 0xfff;
  uint64_t iy = (uint64_t)(int)floorf(b->y * PositionBuckets) & 0xfff;
  uint64_t qx = (uint64_t)(Bucket(b->vx, SpeedBucket, MaxSpeedBucket) + MaxSpeedBucket);
  uint64_t qy = (uint64_t)(Bucket(b->vy, SpeedBucket, MaxSpeedBucket) + MaxSpeedBucket);
  int len = b->attached ? (int)b->tetherLength + 1 : 0;
  uint64_t ql = (uint64_t)(len > MaxLengthBucket ? MaxLengthBucket : len);
  uint64_t picked = (uint64_t)__builtin_popcountll(s->taken) & 0x3f;
  return ix | iy << 12 | qx << 24 | qy << 28 | ql << 32 | (uint64_t)(b->gravity & 3) << 36 | picked << 38;
}

static void Remember(const Snapshot* s, int node) {
  uint64_t key = ArchiveKey(s);
  auto found = ArchiveIndex.find(key);
  if (found == ArchiveIndex.end()) {
    Entry e = {*s, node, 0, DistanceAt(s->ball.x, s->ball.y)};
    ArchiveIndex[key] = (int)Archive.size();
    Archive.push_back(e);
  } else if (s->timer > Archive[found->second].state.timer) {
    Entry* e = &Archive[found->second];
    e->state = *s;
    e->node = node;
  }
}

static float PickScore(const Entry* e) {
  return e->distance + VisitWeight * sqrtf((float)e->visits) - TimeWeight * e->state.timer;
}

static int PickEntry() {
  int n = (int)Archive.size();
  if (RandomUnit() < UniformPickChance)
    return NextRandom() % n;
  int best = NextRandom() % n;
  for (int i = 1; i < TournamentSize; i++) {
    int other = NextRandom() % n;
    if (PickScore(&Archive[other]) < PickScore(&Archive[best]))
      best = other;
  }
  return best;
}

// The window pixel that aims the tether from the ball along angle a.
static void AimPixel(float a, int* mouseX, int* mouseY) {
  ReplayPixelAt(Ball.x + cosf(a) * AimReach, Ball.y + sinf(a) * AimReach, mouseX, mouseY);
}

// Chooses the next segment's input from the state in play.
static void ChooseSegment(Node* seg, const Snapshot* from) {
  seg->frames = SegmentLengths[NextRandom() % SegmentLengthCount];
  seg->keys = Steering[NextRandom() % SteeringCount];
  if (RandomUnit() < JumpChance)
    seg->keys |= replaykey_jump;
  seg->mouseX = from->mouseX;
  seg->mouseY = from->mouseY;
  if (Ball.attached) {
    seg->button = RandomUnit() < KeepTetherChance ? 1 : 0;
  } else if (RandomUnit() < FireChance) {
    seg->button = 1;
    AimPixel((float)(NextRandom() % AimDirections) * FullTurn / AimDirections, &seg->mouseX, &seg->mouseY);
  } else {
    seg->button = 0;
  }
}

// The segments from the level's start to node, as a run of the elite.
static SolveRun PathRun(int node, int score) {
  SolveRun run;
  run.score = score;
  for (int n = node; n >= 0; n = Nodes[n].parent) {
    const Node* s = &Nodes[n];
    run.segments.insert(run.segments.begin(), SolveSegment{s->frames, s->keys, s->button, s->mouseX, s->mouseY});
  }
  return run;
}

static void BuildReplay(const SolveRun* run, Replay* out) {
  ClearReplay(out);
  for (const SolveSegment& s : run->segments)
    AppendReplay(out, s.frames, ReplayTimeScale, s.keys, s.mouseX, s.mouseY, s.button);
}

// Plays seg from the state in play; how play stands after it. A segment cut
// short by the end of play keeps only the frames played.
static int PlaySegment(Node* seg) {
  int end = replayend_playing;
  for (int f = 0; f < seg->frames && end == replayend_playing; f++) {
    ApplyReplayInput(seg->keys, seg->mouseX, seg->mouseY, seg->button);
    UpdateGame(ReplayTimeScale);
    end = JudgeFrame();
    if (end != replayend_playing)
      seg->frames = f + 1;
  }
  return end;
}

static Snapshot StartState;

static void RestartLevel() {
  Restore(&StartState);
}

// One input held from the start for each steering, with and without the
// jump: its states seed the archive, and a finish the elite.
static void PlaySteady() {
  for (int k = 0; k < 2 * SteeringCount; k++) {
    RestartLevel();
    int parent = -1, end = replayend_playing;
    for (int f = 0; f < MaxSteadyFrames && end == replayend_playing; f += SteadySegmentFrames) {
      Node seg = {parent, SteadySegmentFrames, Steering[k / 2] | (k % 2 ? replaykey_jump : 0), 0,
                  ReplayScreenWidth / 2, ReplayScreenHeight / 2};
      end = PlaySegment(&seg);
      if (end == replayend_harmed || end == replayend_timeout)
        break;
      Nodes.push_back(seg);
      parent = (int)Nodes.size() - 1;
      if (end == replayend_finish) {
        OfferElite(PathRun(parent, ScoreFromTimer()));
        break;
      }
      Snapshot s;
      Capture(&s, seg.keys, seg.button, seg.mouseX, seg.mouseY);
      Remember(&s, parent);
    }
  }
}

void DefaultSolveOptions(SolveOptions* opt) {
  opt->seconds = DefaultSolveSeconds;
  opt->seed = 1;
  opt->verbose = false;
  opt->improve = false;
  opt->from = nullptr;
}

// A version 1 replay that finishes the level joins the best few.
static void OfferReplay(const Replay* r) {
  if (r->version != ReplayKeysVersion)
    return;
  SolveRun run;
  for (const ReplayRun& rr : r->runs)
    run.segments.push_back(SolveSegment{rr.frames, rr.keys, rr.button, rr.mouseX, rr.mouseY});
  RestartLevel();
  int frames;
  run.score = PlaySegments(run.segments, &frames);
  if (run.score >= 0)
    OfferElite(run);
}

static double Seconds() { return (double)clock() / CLOCKS_PER_SEC; }

bool SolveLevel(const SolveOptions* opt, Replay* out) {
  UseReplayScreen(ReplayScreenWidth, ReplayScreenHeight);
  ReplayRecording = false;   // the search's frames are no run of play
  Camera.leads = false;      // version 1 replays re-run with the older camera
  RandomState = opt->seed * 2654435761ull + 1;
  StartItemCount = 0;
  for (int i = 0; i < ItemCount && StartItemCount < MaxStartItems * 4; i++)
    if (ItemTable[i].type != itemtype_particle)
      StartItems[StartItemCount++] = ItemTable[i];
  BuildDistanceField();
  Archive.clear();
  ArchiveIndex.clear();
  Nodes.clear();
  ClearElite();
  ResetReplayInput();
  Capture(&StartState, 0, 0, ReplayScreenWidth / 2, ReplayScreenHeight / 2);
  Remember(&StartState, -1);
  PlaySteady();
  if (opt->from)
    OfferReplay(opt->from);

  double began = Seconds(), deadline = began + opt->seconds, lastReport = began;
  double archiveUntil = opt->improve ? began + opt->seconds * ArchiveShare : deadline;
  if (!opt->improve && BestElite())
    archiveUntil = 0;
  float bestDistance = Unreachable;
  long tries = 0;
  while (Seconds() < archiveUntil) {
    for (int batch = 0; batch < TriesPerClockCheck; batch++, tries++) {
      int pick = PickEntry();
      Archive[pick].visits++;
      Snapshot from = Archive[pick].state;
      int parent = Archive[pick].node;
      Restore(&from);
      for (int s = 0; s < MaxSegmentsPerTry; s++) {
        Node seg;
        seg.parent = parent;
        ChooseSegment(&seg, &from);
        int end = PlaySegment(&seg);
        if (end == replayend_harmed || end == replayend_timeout)
          break;
        Nodes.push_back(seg);
        parent = (int)Nodes.size() - 1;
        if (end == replayend_finish) {
          int score = ScoreFromTimer();
          const SolveRun* best = BestElite();
          if (opt->verbose && (!best || score > best->score))
            fprintf(stderr, "finish with score %d after %.1f s\n", score, Seconds() - began);
          OfferElite(PathRun(parent, score));
          if (!opt->improve)
            archiveUntil = 0;
          break;
        }
        Capture(&from, seg.keys, seg.button, seg.mouseX, seg.mouseY);
        Remember(&from, parent);
        float d = DistanceAt(Ball.x, Ball.y);
        if (d < bestDistance)
          bestDistance = d;
      }
    }
    if (opt->verbose && Seconds() - lastReport > ProgressSeconds) {
      lastReport = Seconds();
      fprintf(stderr, "%.0f s: %ld tries, %zu states, closest %.1f\n", lastReport - began, tries,
              Archive.size(), bestDistance);
    }
  }
  if (opt->improve)
    RefineElite(RestartLevel, opt->seed, deadline, opt->verbose);
  const SolveRun* best = BestElite();
  if (best)
    BuildReplay(best, out);
  return best != nullptr;
}
