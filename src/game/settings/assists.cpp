// The assist options at work in a run.
#include "game/settings/assists.h"

#include "game/base/controls.h"
#include "game/settings/settings.h"

bool RunAssisted;
static bool TetherLatched;

int GameSpeedPercent()
{
  return Settings.speed ? Settings.speed : SettingsFullSpeed;
}

bool AssistsOn()
{
  return GameSpeedPercent() != SettingsFullSpeed || Settings.tetherToggle;
}

void ApplyAssists()
{
  if (AssistsOn())
    RunAssisted = true;
  if (!Settings.tetherToggle) {
    TetherLatched = false;
    return;
  }
  if (Controls.tetherShot)
    TetherLatched = !TetherLatched;
  Controls.tetherShot = Controls.tetherShot && TetherLatched;
  Controls.tether = TetherLatched;
}

void StartAssistedRun()
{
  RunAssisted = false;
  TetherLatched = false;
}
