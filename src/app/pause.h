// pause: the layer that freezes any screen behind sliding dashboard bars and a
// menu ("Resume game", "Exit", "Save screenshot"; below them "Back to title"
// away from the title screen and "Restart level" in play), and the PNG
// screenshots of the frozen frame. Leaving the editor with unsaved edits
// ("Exit", "Back to title") takes a second choice of the same row. On a
// resume the screen runs again at once and the layer slides away over it.
#pragma once

#include <cstddef>

extern float PauseLevel;   // 0 nothing shown .. 100 fully paused
extern bool PauseWanted;   // true: PauseLevel moves towards 100, else towards 0
extern int PauseCursor;    // the menu row lit by Up and Down, or NoPauseRow
extern int FrozenWidth;    // pixels of the frame in ReadbackBuffer, kept through window resizes
extern int FrozenHeight;

// The pause menu's rows, top to bottom.
enum {
  pauserow_resume = 0, pauserow_exit, pauserow_screenshot, pauserow_title, pauserow_restart,
  PauseRowCount
};
const int NoPauseRow = -1;
extern int PauseConfirmRow;   // the row chosen once with unsaved edits, waiting for a second choice

// Rows shown over the current screen: the first three on the title screen,
// "Back to title" too elsewhere, and "Restart level" too in play.
int PauseRowsShown();

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

// Escape toggle or a lost focus, frame capture (when the screen drew this
// frame), the frozen picture (when it did not), then PauseLevel moves by
// 5 x speed; capture and picture are skipped when ReadbackBuffer cannot hold the frame.
void StepPause(float speed, bool screenDrew);

// The frozen frame into a new texture, after a mode change lost the GL context.
void UploadFrozenFrame();

// The GL-free part of StepPause: the Escape toggle, the opening when play or
// the editor lost the focus, the move and the clamp (NaN becomes 0); true
// when this frame's picture must be captured. An opening waits at 0 while the
// window settles after a change.
bool AdvancePause(float speed);

// The top and bottom bars with title, version, date, clock and footer lines.
void DrawPauseDashboard();

// The sliding buttons and what their clicks (or Return on the lit row) do.
void PauseMenu();

// "v" and the version with trailing zeros dropped down to one decimal: 0.3 gives "v0.3".
void FormatVersionText(char* out, size_t size, float version);

// Writes the frozen frame to the first "screenshot%d.png" that does not exist;
// never replaces a file. The footer names the file for two seconds.
void SaveScreenshot();
