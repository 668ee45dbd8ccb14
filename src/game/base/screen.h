// screen: the program-wide screen record. Which screen runs (GameState), the
// menu highlight, whether the program should end, and the size of the drawing
// surface. The rules, the editor and the screens ask for another screen with
// RequestScreen; the host applies the request at its point in the frame, so
// the frame in which a change is asked still runs and draws the old screen.
// The video module writes the size when the window opens, is resized or
// changes mode (and a replay writes its recorded size); the rest only read it.
#pragma once

// GameState values: the screen that runs each frame.
enum {
  gamestate_title = 0,      // title menu
  gamestate_playlist = 1,   // level list, to play
  gamestate_editlist = 2,   // level list, to edit
  gamestate_playing = 3,    // playing a level
  gamestate_editing = 4,    // editing a level
  gamestate_watching = 5,   // watching a level's best run
  gamestate_results = 6,    // the results card over the last frame of a run
  gamestate_online = 7,     // the hub's levels
  gamestate_options = 8     // the options screen opened from the title or the pause layer
};
const int NoScreenRequest = -1;

extern int GameState;        // current screen; changed only by ApplyScreenRequest and ShowScreen
extern int ScreenRequest;    // the screen asked for this frame, or NoScreenRequest
extern int MenuCursor;       // highlighted menu entry or list row (game/files/level_slots)
extern int MenuFirstRow;     // list row shown first
extern bool QuitRequested;   // set by a window close, the title's "Quit" or the pause menu's "Exit"

extern float ScreenWidth;    // pixels
extern float ScreenHeight;   // pixels
extern float AspectRatio;    // ScreenWidth / ScreenHeight
extern int ScreenDepth;      // bits per pixel

// Asks for screen at the host's next point of change; the last request of a frame wins.
void RequestScreen(int screen);

// The screen the next frame runs: the one asked for, else the current one.
int NextScreen();

// The host's point of change: GameState becomes the requested screen and the
// request is dropped; true when GameState changed.
bool ApplyScreenRequest();

// GameState becomes screen at once and any request is dropped: for a driver
// without a host (a replay, a tool, a test).
void ShowScreen(int screen);
