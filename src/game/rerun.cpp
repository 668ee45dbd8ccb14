// Re-running a replay from the grid without disturbing what the player sees.
#include "game/rerun.h"

#include <cstdio>

#include "game/ghost.h"
#include "game/hub_card.h"
#include "game/level_start.h"
#include "game/screen.h"
#include "game/sound_events.h"
#include "game/world.h"

static Replay Rerun;   // read once per re-run; its room is kept

ReplayOutcome RerunOnGrid(const std::string& text, bool keepPath)
{
  ReplayOutcome run = {replayend_playing, 0, 0, 0};
  FILE* f = text.empty() ? nullptr : fmemopen((void*)text.data(), text.size(), "r");
  bool read = f && ReadReplay(f, &Rerun);
  if (f)
    fclose(f);
  if (!read)
    return run;
  int state = GameState, level = CurrentLevel;
  float width = ScreenWidth, height = ScreenHeight;
  LevelId played;
  snprintf(played, sizeof played, "%s", HubCard.level);
  HubCard.level[0] = 0;   // the re-run's end is sent nowhere
  CurrentLevel = 0;       // and touches no slot's best
  StartGridLevel();
  if (keepPath)
    BeginGhostRun(0, MaxGhostFrames);
  run = PlayReplay(&Rerun);
  if (keepPath && run.end == replayend_finish)
    KeepGhost(0);
  ShowScreen(state);
  CurrentLevel = level;
  snprintf(HubCard.level, sizeof HubCard.level, "%s", played);
  ScreenWidth = width;
  ScreenHeight = height;
  AspectRatio = height > 0 ? width / height : 1;
  ClearSounds();
  return run;
}
