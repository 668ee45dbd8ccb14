// test_run: a run of the level being edited, started from the editor with T
// (from the grid's spawn) or Shift + T (from the cell under the marker). It
// keeps a copy of the grid, size and camera and gives them back exactly when
// the run ends. Scores, ghosts and any other file are never written while
// TestRunActive is set, and a run from a cell of the maker's choosing is
// never the level's author run.
#pragma once

extern bool TestRunActive;   // the level in play is the editor's, not a file
extern bool TestRunFromHere; // the last test run started from a chosen cell, not the spawn

// Copies the editor's grid, size and camera, then starts play on the grid
// and asks for the play screen.
void BeginTestRun();
// The same, with the ball on cell (x, y) of the level.
void BeginTestRunAt(int x, int y);
// The last test run started again from where it started.
void BeginTestRunAgain();
// Puts the copy back and asks for the editor.
void EndTestRun();
