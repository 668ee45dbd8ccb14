// pause_layer: what the pause layer (game/run/pause_state.h) shows over the frozen
// frame and what its menu does: the top and bottom dashboard bars with the
// game's title, version, date and clock, and the sliding buttons "Resume
// game", "Exit", "Save screenshot", below them "Back to title" away from the
// title screen, "Restart level" in play, and last "Options", which opens the
// options screen over the frozen frame (ui/options_screen.h). Leaving the editor with unsaved
// edits ("Exit", "Back to title", or closing the window) takes a second choice.
#pragma once

#include <cstddef>

// The top and bottom bars with title, version, date, clock and footer lines;
// note, when not null, takes the footer's first line.
void DrawPauseDashboard(const char* note);

// The sliding buttons and what their clicks (or Return on the lit row) do;
// "Save screenshot" sets ScreenshotWanted.
void PauseMenu();

// The window was closed: the game ends, unless the editor (or its test run)
// holds unsaved edits; then the layer opens with "Exit" asking "Leave
// unsaved? Click again", and a second close or that click ends it.
void CloseWindow();

// "v" and the version with trailing zeros dropped down to one decimal: 0.3 gives "v0.3".
void FormatVersionText(char* out, size_t size, float version);
