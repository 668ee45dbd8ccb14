// rules: the timer, pickups, particles and the outcome of a run.
#include "game/run/rules.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#include "game/base/sound_events.h"
#include "game/files/assist_best.h"
#include "game/files/best_save.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"
#include "game/play/collision.h"
#include "game/play/hints.h"
#include "game/play/world.h"
#include "game/run/run_end.h"
#include "game/run/test_run.h"
#include "game/settings/assists.h"

const float BaseFrameRate = 60;         // frames per second the per-frame constants assume
const float TimerTenthsPerSecond = 10;  // LevelTimer counts tenths of a second
const float PickupRadius = 1.0f;        // units, ball centre to item centre, strictly less
const int PickupBurstCount = 20;        // particles per collected item
const float BurstSpeedScale = 0.001f;   // units per frame per random step
const float TrailSpeedScale = 0.0001f;
const float TrailPace = 1.0f;           // TrailTimer per trail particle
const float ParticleLifeAtBirth = 1.5f;
const float ParticleLifeLoss = 0.025f;  // per frame
const float FinishRadius = 2.0f;        // units, ball centre to item centre, strictly less
const int RandomSpread = 200;           // rand() % 200 - 100 lies in -100..99
const int RandomCentre = 100;
const float WatchCameraRate = 0.1f;     // share of the gap to the ghost closed per 60 Hz frame
const float TickFromTenths = 50;        // the clock ticks at each of the last five whole seconds
const float OutsideReach = 10;          // cells beyond the level's rectangle where a lost ball is harmed

void CountDownTimer(float t)
{
  float before = LevelTimer;
  LevelTimer = LevelTimer - t / BaseFrameRate * TimerTenthsPerSecond;
  if (LevelTimer < 0)
    LevelTimer = 0;
  bool secondPassed = floorf(before / TimerTenthsPerSecond) != floorf(LevelTimer / TimerTenthsPerSecond);
  if (LevelTimer > 0 && LevelTimer < TickFromTenths && secondPassed)
    PushSound(sound_tick);
}

void SpawnParticle(float px, float py, float s)
{
  LevelItem* p = AppendItem(itemtype_particle, px, py);
  int first = rand();
  int second = rand();
  if (!p)
    return;
  p->life = ParticleLifeAtBirth;
  p->vx = (float)(first % RandomSpread - RandomCentre) * s;
  p->vy = (float)(second % RandomSpread - RandomCentre) * s;
}

// A collected item's burst is appended before the item is removed, so the
// index is examined again with the records moved down under it.
static void CollectPickups()
{
  int i = 0;
  while (i < ItemCount) {
    LevelItem* it = &ItemTable[i];
    if (it->type != itemtype_extratime || !(Distance(it->x, it->y, Ball.x, Ball.y) < PickupRadius)) {
      i++;
      continue;
    }
    float ix = it->x, iy = it->y;
    for (int n = 0; n < PickupBurstCount; n++)
      SpawnParticle(ix, iy, BurstSpeedScale);
    RemoveItem(i);
    LevelTimer += PickupTime;
    PushSound(sound_pickup);
  }
}

// Ages and moves every particle and drops the spent ones. One compacting
// pass keeps the table order, as removing them one by one would, without
// moving the whole table once per dead particle.
static void AgeParticles(float t)
{
  int kept = 0;
  for (int i = 0; i < ItemCount; i++) {
    LevelItem p = ItemTable[i];
    if (p.type == itemtype_particle) {
      p.life = p.life - ParticleLifeLoss * t;
      p.x = p.x + p.vx * t;
      p.y = p.y + p.vy * t;
      if (p.life <= 0)
        continue;
    }
    ItemTable[kept++] = p;
  }
  ItemCount = kept;
}

static void StepTrail(float t)
{
  TrailTimer = TrailTimer - t;
  if (TrailTimer <= 0) {
    SpawnParticle(Ball.x, Ball.y, TrailSpeedScale);
    TrailTimer = TrailTimer + TrailPace;
  }
}

void StepItems(float t)
{
  CollectPickups();
  AgeParticles(t);
  StepTrail(t);
}

bool BallAtFinish()
{
  for (int i = 0; i < ItemCount; i++) {
    const LevelItem& it = ItemTable[i];
    if (it.type == itemtype_finish && Distance(it.x, it.y, Ball.x, Ball.y) < FinishRadius)
      return true;
  }
  return false;
}

int ScoreFromTimer()
{
  float score = ceilf(LevelTimer);
  if (score >= (float)INT_MAX)
    return INT_MAX;
  return (int)score;
}

// A level number outside 1..MaxLevels has no best-score entry: the run still ends,
// but nothing is compared or written. Every finish item in reach ends the run
// alike, and only the first can raise the best, so one call stands for all.
// True when the run set a new best.
static bool Finish()
{
  PushSound(sound_finish);
  if (CurrentLevel < 1 || CurrentLevel > MaxLevels || TestRunActive)
    return false;
  int score = ScoreFromTimer();
  if (RunAssisted) {   // its best is kept apart, with no ghost
    if (!KeepAssistBest(CurrentLevel, score))
      return false;
  } else if (BeatsBest(CurrentLevel, score)) {
    KeepBest(CurrentLevel, score);
  } else {
    return false;
  }
  // The fanfare is for a best that will still be there next time.
  PushSound(BestSave.scoreSaved ? sound_best : sound_save_failed);
  return true;
}

bool BallLostOutside()
{
  return Ball.x < -OutsideReach || Ball.x > LevelWidth + OutsideReach ||
         Ball.y < -OutsideReach || Ball.y > LevelHeight + OutsideReach;
}

// A finish in the same frame as harm or time-out counts, and is what is heard;
// harm in the frame the time runs out is what ended the run.
void CheckOutcome()
{
  bool harmed = TouchesHarmful(Ball.x, Ball.y, BallRadius) || BallLostOutside();
  bool timeUp = LevelTimer == 0;
  if (BallAtFinish()) {
    NoteFinishForHints();
    bool best = Finish();
    EndRun(runend_finished, best);
  } else if (harmed) {
    PushSound(sound_harm);
    EndRun(runend_harmed, false);
  } else if (timeUp) {
    PushSound(sound_timeout);
    EndRun(runend_timeup, false);
  }
}

bool StepGhostWatch(float t)
{
  float x, y;
  if (!GhostPositionAt(GhostClock + t, &x, &y))
    return false;
  GhostClock += t;
  CountDownTimer(t);
  Ball.x = x;
  Ball.y = y;
  float ax, ay;
  Ball.attached = GhostAnchor(&ax, &ay);
  if (Ball.attached) {
    Ball.anchorX = ax;
    Ball.anchorY = ay;
  }
  Camera.camX += (x - Camera.camX) * WatchCameraRate * t;
  Camera.camY += (y - Camera.camY) * WatchCameraRate * t;
  Camera.viewHeight = PlayViewHeight;
  StepItems(t);
  return true;
}
