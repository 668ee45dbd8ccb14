// pause: the layer that freezes any screen behind sliding dashboard bars and a
// three-button menu ("Resume game", "Exit", "Save screenshot"), and the PNG
// screenshots of the frozen frame.
#pragma once

extern float PauseLevel;   // 0 running .. 100 fully paused; no state runs while not 0
extern bool PauseWanted;   // true: PauseLevel moves towards 100, else towards 0

// Escape toggle, frame capture, frozen picture, then PauseLevel moves by 5 x speed.
void StepPause(float speed);

// The top and bottom bars with title, version, date, clock and footer lines.
void DrawPauseDashboard();

// The three sliding buttons and what their clicks do.
void PauseMenu();

// Writes the frozen frame to the first free "screenshot%d.png".
void SaveScreenshot();
