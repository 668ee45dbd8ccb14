// test_run: a run of the level being edited, started from the editor with T.
// It keeps a copy of the grid, size and camera, plays from the grid's spawn,
// and gives them back exactly when the run ends. Scores, ghosts and any
// other file are never written while TestRunActive is set.
#pragma once

extern bool TestRunActive;   // the level in play is the editor's, not a file

// Copies the editor's grid, size and camera, then starts play on the grid
// and asks for the play screen.
void BeginTestRun();
// Puts the copy back and asks for the editor.
void EndTestRun();
