// The pause layer's state: its level, the Escape toggle, the focus loss and the window's settling.
#include "game/run/pause_state.h"

#include <cmath>

#include "game/base/controls.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/settings/options.h"

float PauseLevel;
bool PauseWanted;
int PauseCursor = NoPauseRow;
int PauseConfirmRow = NoPauseRow;
bool CloseAsking;
bool ScreenshotWanted;

static int WindowSettle;       // frames left before a picture has the window's new size

// Play and the editor stop when the window loses the keyboard focus; the menus
// and a watched run wait as they are.
static bool FocusLossPauses()
{
  return Controls.focusLost && (GameState == gamestate_playing || GameState == gamestate_editing);
}

bool ScreenRuns()
{
  return !PauseWanted || PauseLevel == 0;
}

// An opening waits at 0 for its picture: it is not made to wait longer by
// window changes that go on meanwhile, so play does not run on through a long
// drag of the window's edge.
void NoteWindowChange()
{
  if (!(PauseWanted && PauseLevel == 0))
    WindowSettle = WindowSettleFrames;
}

bool AdvancePause(float speed)
{
  bool opened = false;
  // Over the layer the options screen takes the pause key as its way back.
  bool toggle = Controls.pauseToggle && !(Options.overPause && PauseWanted);
  bool wanted = toggle ? !PauseWanted : PauseWanted;
  if (FocusLossPauses() || CloseAsking)
    wanted = true;
  if (wanted != PauseWanted) {
    if (PauseWanted) {
      PauseWanted = false;
      PushSound(sound_pause_close);
    } else {
      PauseWanted = opened = true;
      PauseCursor = PauseConfirmRow = NoPauseRow;
      PushSound(sound_pause_open);
    }
  }
  if (CloseAsking)
    PauseConfirmRow = pauserow_exit;
  CloseAsking = false;
  if (WindowSettle > 0)
    WindowSettle--;
  // Opening from 0 (or still waiting there), or turning back up while the
  // screen ran under the layer sliding away: this frame's picture is live.
  bool capture = PauseWanted && (opened || PauseLevel == 0);
  if (capture && PauseLevel == 0 && WindowSettle > 0)
    return false;
  PauseLevel += PauseWanted ? PauseStep * speed : -PauseStep * speed;
  if (PauseLevel > PauseLevelFull)
    PauseLevel = PauseLevelFull;
  if (PauseLevel < 0)
    PauseLevel = 0;
  if (std::isnan(PauseLevel))
    PauseLevel = 0;
  return capture;
}

int PauseOptionsRow()
{
  if (GameState == gamestate_title)
    return pauserow_title;
  return GameState == gamestate_playing ? PauseRowCount : pauserow_restart;
}

int PauseRowsShown()
{
  return PauseOptionsRow() + 1;
}

void DropPause()
{
  PauseWanted = false;
  PauseLevel = 0;
}
