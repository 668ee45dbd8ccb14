// host: the program's entry sequence, its frame loop and the dispatch to the
// current screen. It owns the program-wide records that several modules share.
// Nothing here includes SDL or OpenGL, so the gameplay code can read these
// records without a window.
#pragma once

// GameState values: the screen that runs each frame.
enum {
  gamestate_title = 0,      // title menu
  gamestate_playlist = 1,   // level list, to play
  gamestate_editlist = 2,   // level list, to edit
  gamestate_playing = 3,    // playing a level
  gamestate_editing = 4,    // editing a level
  gamestate_watching = 5,   // watching a level's best run
  gamestate_results = 6     // the results card over the last frame of a run
};

extern int GameState;           // current screen; changed by menus, rules and editor
extern int MenuCursor;          // highlighted menu entry or list row (game/level_slots)
extern int MenuFirstRow;        // list row shown first
extern bool QuitRequested;      // set by a window close or the pause menu's "Exit"
extern bool FirstFrameDone;     // false until the first frame has been presented
extern bool MouseInWindow;      // the pointer is over the window this frame
extern char GameTitleText[256]; // "Tetherorb 2", shown in the pause dashboard
extern float VersionNumber;     // 0.3, shown in the pause dashboard

// 60 / fps clamped to 0.2..2; fps 0 (no frame measured yet) gives 2.
float ComputeTimeScale(float framesPerSecond);

// Runs the current state's update and draw once, with the shared GL state set;
// a change of GameState resets MenuCursor and MenuFirstRow.
void RunGameState();

// Start-up sequence: platform, settings, random seed, video, dashboard, title, catalogue, atlas, audio.
void StartUp();

// One frame of the loop: clear, input, state, pacing, pause layer, stale keys, sounds, cursor, swap, drain.
void RunFrame();

// StartUp, frames until QuitRequested (RunMainLoop), audio and SDL shut-down; returns the exit code 0.
int RunProgram();
