// host: the program's entry sequence, its frame loop and the dispatch to the
// current screen. The top layer: it starts the platform, runs each screen of
// ui/ and applies the change of screen the frame asked for (game/base/screen.h).
#pragma once

// Runs the current state's update and draw once, with the shared GL state set,
// then applies the screen it asked for; a change of GameState places
// MenuCursor and MenuFirstRow for the new screen.
void RunGameState();

// Start-up sequence: platform, settings, random seed, video, key bindings, pad, dashboard, catalogue, atlas, audio.
void StartUp();

// One frame of the loop: the screen asked for between frames, clear, input,
// state, pacing, pause layer, stale keys, sounds, cursor, swap, drain.
void RunFrame();

// StartUp, frames until QuitRequested (RunMainLoop), audio and SDL shut-down; returns the exit code 0.
int RunProgram();
