// Re-running a replay from the grid without disturbing what the player sees.
#include "game/run/rerun.h"

#include <climits>
#include <cstdio>

#include "game/base/controls.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/files/ghost.h"
#include "game/online/online_card.h"
#include "game/play/world.h"
#include "game/run/level_start.h"

RerunRecord Rerun;

static Replay RerunReplay;   // read once per re-run; its room is kept

// What the screen shows while a re-run plays under it, kept across a step.
struct ShownState {
  int state, level;
  float width, height;
  LevelId played;
  ControlsRecord controls;
};

// Play takes over the screen's records: no slot, and its end sent nowhere.
static void EnterRerun(ShownState* shown)
{
  shown->state = GameState;
  shown->level = CurrentLevel;
  shown->width = ScreenWidth;
  shown->height = ScreenHeight;
  shown->controls = Controls;
  snprintf(shown->played, sizeof shown->played, "%s", HubCard.level);
  HubCard.level[0] = 0;
  CurrentLevel = 0;
}

static void LeaveRerun(const ShownState* shown)
{
  ShowScreen(shown->state);
  CurrentLevel = shown->level;
  snprintf(HubCard.level, sizeof HubCard.level, "%s", shown->played);
  ScreenWidth = shown->width;
  ScreenHeight = shown->height;
  AspectRatio = shown->height > 0 ? shown->width / shown->height : 1;
  Controls = shown->controls;
  ClearSounds();
}

bool BeginRerun(const std::string& text, bool keepPath)
{
  Rerun.active = false;
  FILE* f = text.empty() ? nullptr : fmemopen((void*)text.data(), text.size(), "r");
  bool read = f && ReadReplay(f, &RerunReplay);
  if (f)
    fclose(f);
  if (!read)
    return false;
  ShownState shown;
  EnterRerun(&shown);
  StartGridLevel();
  if (keepPath)
    BeginGhostRun(0, MaxGhostFrames);
  BeginReplayPlayer(&Rerun.player, &RerunReplay);
  LeaveRerun(&shown);
  Rerun.active = true;
  Rerun.keepPath = keepPath;
  return true;
}

// Up to frames more; true once the re-run is over.
static bool StepRerunFrames(int frames)
{
  if (!Rerun.active)
    return true;
  ShownState shown;
  EnterRerun(&shown);
  Rerun.active = StepReplayPlayer(&Rerun.player, frames);
  if (!Rerun.active && Rerun.keepPath && Rerun.player.out.end == replayend_finish)
    KeepGhost(0);
  LeaveRerun(&shown);
  return !Rerun.active;
}

bool StepRerun()
{
  return StepRerunFrames(RerunFramesPerStep);
}

ReplayOutcome RerunOnGrid(const std::string& text, bool keepPath)
{
  if (!BeginRerun(text, keepPath))
    return ReplayOutcome{replayend_playing, 0, 0, 0};
  StepRerunFrames(INT_MAX);
  return Rerun.player.out;
}
