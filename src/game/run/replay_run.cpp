// replay_run: the player that feeds a replay's controls to the game step.
#include "game/run/replay_run.h"

#include "game/base/controls.h"
#include "game/base/places.h"
#include "game/base/screen.h"
#include "game/files/level_files.h"
#include "game/files/replay_record.h"
#include "game/play/collision.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "game/run/rules.h"
#include "game/run/update.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

static const int FileCopyChunk = 4096;            // bytes

static bool ButtonWasDown;   // a version 1 replay's left button in the frame before

void UseReplayScreen(int width, int height)
{
  ScreenWidth = (float)width;
  ScreenHeight = (float)height;
  AspectRatio = ScreenWidth / ScreenHeight;
}

void ApplyReplayControls(const PlayControls& c)
{
  Controls = ControlsRecord();
  Controls.steerX = c.steerX;
  Controls.steerY = c.steerY;
  Controls.jump = c.jump;
  Controls.tether = c.tether;
  Controls.tetherShot = c.tetherShot;
  Controls.aimX = c.aimX;
  Controls.aimY = c.aimY;
}

void ResetReplayInput()
{
  PlayControls c = {};
  c.aimX = (float)(int)(ScreenWidth / 2);
  c.aimY = (float)(int)(ScreenHeight / 2);
  ApplyReplayControls(c);
  ButtonWasDown = false;
}

// The keymap's sums for keys alone, with no stick or D-pad: a held key is a
// whole step, opposite keys cancel.
static float KeyAxis(int keys, int negative, int positive)
{
  return (float)((keys & positive) != 0) - (float)((keys & negative) != 0);
}

void ApplyReplayInput(int keys, int mouseX, int mouseY, int button)
{
  PlayControls c;
  c.steerX = KeyAxis(keys, replaykey_left, replaykey_right);
  c.steerY = KeyAxis(keys, replaykey_up, replaykey_down);
  c.aimX = (float)mouseX;
  c.aimY = (float)mouseY;
  c.jump = (keys & replaykey_jump) != 0;
  c.tether = button != 0;
  c.tetherShot = c.tether && !ButtonWasDown;
  ButtonWasDown = c.tether;
  ApplyReplayControls(c);
}

void ReplayPixelAt(float wx, float wy, int* mouseX, int* mouseY)
{
  float halfW = Camera.viewHeight * 0.5f * AspectRatio, halfH = Camera.viewHeight * 0.5f;
  float px = ((wx - Camera.camX) / halfW + 1) * 0.5f * ScreenWidth;
  float py = ((wy - Camera.camY) / halfH + 1) * 0.5f * ScreenHeight;
  px = px < 0 ? 0 : px > ScreenWidth - 1 ? ScreenWidth - 1 : px;
  py = py < 0 ? 0 : py > ScreenHeight - 1 ? ScreenHeight - 1 : py;
  *mouseX = (int)lroundf(px);
  *mouseY = (int)lroundf(py);
}

int JudgeFrame()
{
  if (NextScreen() == gamestate_playing)
    return replayend_playing;
  if (BallAtFinish())
    return replayend_finish;
  if (TouchesHarmful(Ball.x, Ball.y, BallRadius))
    return replayend_harmed;
  return replayend_timeout;
}

static bool CopyFile(const char* from, const char* to)
{
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

bool StartLevelFile(const char* path)
{
  PathBuffer home, levels, copy;
  char dir[] = "/tmp/tetherorb2-levelXXXXXX";
  if (!getcwd(home, sizeof home) || !mkdtemp(dir))
    return false;
  bool ok = PlacePath(levels, dir, "Levels") && PlacePath(copy, levels, "level1.dat") && mkdir(levels, 0700) == 0 &&
            CopyFile(path, copy) && chdir(dir) == 0;
  if (ok) {
    ShowScreen(gamestate_playing);
    StartLevel(1);
    CurrentLevel = 0;   // no slot: a finish writes no best score or ghost in the working directory
    ok = chdir(home) == 0;
  }
  remove(copy);
  rmdir(levels);
  rmdir(dir);
  return ok;
}

void BeginReplayPlayer(ReplayPlayer* p, const Replay* r)
{
  p->replay = r;
  p->run = 0;
  p->frame = 0;
  p->out = ReplayOutcome{replayend_playing, 0, 0, 0};
  UseReplayScreen(r->screenWidth, r->screenHeight);
  ResetReplayInput();
  Camera.leads = ReplayCameraLeads(r);
}

bool StepReplayPlayer(ReplayPlayer* p, int frames)
{
  const Replay* r = p->replay;
  ReplayRecording = false;
  ShowScreen(gamestate_playing);   // a step resumes play where the last one left it
  Camera.leads = ReplayCameraLeads(r);   // the camera the replay was played with
  int played = 0;
  while (played < frames && p->run < r->runs.size() && p->out.end == replayend_playing) {
    const ReplayRun& run = r->runs[p->run];
    UseReplayScreen(run.screenWidth, run.screenHeight);
    if (p->frame < run.frames) {
      if (r->version == ReplayKeysVersion)
        ApplyReplayInput(run.keys, run.mouseX, run.mouseY, run.button);
      else
        ApplyReplayControls(run.controls);
      UpdateGame(run.timeScale);
      p->out.frames++;
      p->out.end = JudgeFrame();
      p->frame++;
      played++;
    }
    if (p->frame >= run.frames) {
      p->run++;
      p->frame = 0;
    }
  }
  bool playing = p->out.end == replayend_playing && p->run < r->runs.size();
  p->out.timeLeft = LevelTimer;
  p->out.score = p->out.end == replayend_finish ? ScoreFromTimer() : 0;
  return playing;
}

ReplayOutcome PlayReplay(const Replay* r)
{
  int slot = CurrentLevel - 1;
  bool slotValid = slot >= 0 && slot < MaxLevels;
  int kept = slotValid ? LevelBest[slot] : 0;
  if (slotValid)
    LevelBest[slot] = INT_MAX;
  ReplayPlayer player;
  BeginReplayPlayer(&player, r);
  while (StepReplayPlayer(&player, INT_MAX))
    ;
  if (slotValid)
    LevelBest[slot] = kept;
  return player.out;
}

const char* ReplayEndName(int end)
{
  switch (end) {
  case replayend_finish: return "finish";
  case replayend_harmed: return "harmful block";
  case replayend_timeout: return "time out";
  default: return "still playing";
  }
}
