// pause_state: the layer that freezes any screen behind sliding dashboard bars
// and a menu, as a record: how far it is up, whether it is wanted, the lit
// row and a choice waiting for its second click, a window close waiting for
// the layer, and a screenshot asked for. The render layer captures and shows
// the frozen frame (render/frozen_frame.h), the ui draws the bars and the menu
// and acts on its rows (ui/pause_layer.h), and the platform writes the
// screenshot (platform/screenshot.h). On a resume the screen runs again at
// once and the layer slides away over it.
#pragma once

extern float PauseLevel;   // 0 nothing shown .. 100 fully paused
extern bool PauseWanted;   // true: PauseLevel moves towards 100, else towards 0
extern int PauseCursor;    // the menu row lit by Up and Down, or NoPauseRow
extern bool CloseAsking;   // a window close waits for the layer to open with "Exit" asking
extern bool ScreenshotWanted;   // "Save screenshot" was chosen this frame

// The pause menu's rows, top to bottom.
enum {
  pauserow_resume = 0, pauserow_exit, pauserow_screenshot, pauserow_title, pauserow_restart,
  PauseRowCount
};
const int NoPauseRow = -1;
extern int PauseConfirmRow;   // the row chosen once with unsaved edits, waiting for a second choice

// Rows shown over the current screen: the first three on the title screen,
// "Back to title" too elsewhere, and "Restart level" too in play; then "Options".
int PauseRowsShown();

// The row of "Options", after the others shown.
int PauseOptionsRow();

const float PauseStep = 5;        // PauseLevel change per frame at speed 1
const float PauseLevelFull = 100;
const int WindowSettleFrames = 3; // frames after a new window size before a picture is whole

// True while the current screen updates and draws: no pause, a resume whose
// layer is sliding away, or an opening that waits for a whole picture.
bool ScreenRuns();

// The window's size or mode changed this frame. Its first frames may be drawn
// into the old size, so a pause opening now waits WindowSettleFrames frames,
// the screen still running, before it captures the picture.
void NoteWindowChange();

// The Escape toggle, the opening when play or the editor lost the focus or a
// window close asks, the move by 5 x speed and the clamp (NaN becomes 0); true
// when this frame's picture must be captured. An opening waits at 0 while the
// window settles after a change.
bool AdvancePause(float speed);

// The layer gone at once, without its slide (the page's "Exit").
void DropPause();
