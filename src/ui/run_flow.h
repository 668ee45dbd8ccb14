// run_flow: the ways into and out of a run besides the level lists: R
// restarts the run in play at once, the results card plays a level again or
// the next one, and the pause menu goes back to the title screen.
#pragma once

// Starts level n from its file, as the play list does; false, with nothing
// changed but the list's note, when the file cannot be read now or has no spawn.
bool PlayLevel(int n);

// The first level after n that can be played now (its file reads and has a
// spawn); 0 when there is none. Reads the files it passes over.
int NextLevelAfter(int n);

// The run in play from its start: level CurrentLevel from its file, or the
// editor's grid again in a test run. The abandoned run writes nothing.
void RestartRun();

// The title screen with its first entry lit; a test run ends first, and an
// open editor is left without saving.
void LeaveToTitle();

// One frame of play, frameMs the last frame's measured length (0 before any):
// R restarts, then the game step when the frame takes one (game/play/play_step.h)
// and the scene, held between steps; a test run goes back to the editor when
// it ends (the editor's bottom bar says how) or T is pressed.
void PlayFrame(int frameMs);
