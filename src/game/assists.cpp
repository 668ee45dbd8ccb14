// The assist options at work in a run.
#include "game/assists.h"

#include "game/controls.h"
#include "game/settings.h"

bool RunAssisted;
static bool TetherLatched;

static const float SmallestStep = 0.2f;   // the play step's smallest TimeScale (game/update.h)

// A record never filled from a file (a tool, a test) runs at full speed.
static int GameSpeed()
{
  return Settings.speed ? Settings.speed : SettingsFullSpeed;
}

bool AssistsOn()
{
  return GameSpeed() != SettingsFullSpeed || Settings.tetherToggle;
}

float PlayStepScale(float t)
{
  if (GameSpeed() == SettingsFullSpeed)
    return t;   // bit for bit: t * 100 / 100 is not always t, and a replay must hold the scale as played
  float scaled = t * (float)GameSpeed() / SettingsFullSpeed;
  return scaled < SmallestStep ? SmallestStep : scaled;
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
