// replay_run: a replay run again on the game layer alone, with no window.
// The player writes the controls record frame by frame exactly as the
// platform's keymap does for the same input (a version 1 replay: the held
// keys, pointer and left button through the default key bindings; a version
// 2 replay: the controls as they were recorded), sets the window size the
// aim is measured in, puts the camera under the rule the replay was played
// with (leading toward the pointer for version 3, the older rule before) and
// calls the same game step the window game calls, so a tool or a server gets
// the window game's result bit for bit.
#pragma once

#include "game/files/replay.h"

// How a run of play ended.
enum {
  replayend_playing = 0,  // the replay ran out while the level was still in play
  replayend_finish = 1,   // the ball reached a finish
  replayend_harmed = 2,   // the ball touched a harmful block
  replayend_timeout = 3   // the timer ran out
};

struct ReplayOutcome {
  int end;        // replayend_*
  int score;      // time left at the finish in tenths, rounded up; 0 otherwise
  int frames;     // frames played
  float timeLeft; // LevelTimer when play stopped
};

// Sets ScreenWidth, ScreenHeight and AspectRatio to a width x height window.
void UseReplayScreen(int width, int height);

// Every control let go, the pointer at the window's centre, no tether shot
// pending: the controls as a run starts.
void ResetReplayInput();

// The controls of one version 1 frame: steering and jump from the held keys,
// the aim from the pointer, the tether held with the left button and shot in
// the frame it goes down (down now and up in the frame before).
void ApplyReplayInput(int keys, int mouseX, int mouseY, int button);

// The window pixel over world point (wx, wy) as the camera now shows it,
// clamped into the window: where a player puts the pointer to aim there.
void ReplayPixelAt(float wx, float wy, int* mouseX, int* mouseY);

// The controls of one version 2 frame, as recorded.
void ApplyReplayControls(const PlayControls& c);

// After a frame of play: replayend_playing while play is still the next screen,
// otherwise why it ended. A finish reached in the same frame as harm or
// time-out counts as a finish.
int JudgeFrame();

// Loads the level file at path into play as StartLevel does, through a
// temporary working directory, and sets GameState to play; false when the
// file cannot be read. The level has no slot (CurrentLevel 0), so its runs
// never write a best score or a ghost.
bool StartLevelFile(const char* path);

// Plays the replay from the present state (after StartLevel, StartGridLevel
// or StartLevelFile) until play ends or the frames run out. The level's best
// score is neither changed nor written, and the run is not recorded again.
ReplayOutcome PlayReplay(const Replay* r);

// The same play a few frames at a time, for a caller that must not hold a
// frame up: begun from the present state as PlayReplay, then stepped until
// it is over. Between steps the caller may put its own screen, size and
// controls back; each step takes up play where the last one left it.
struct ReplayPlayer {
  const Replay* replay;
  size_t run;          // the run of equal frames being played
  int frame;           // frames of that run played
  ReplayOutcome out;   // so far; final once StepReplayPlayer is false
};
void BeginReplayPlayer(ReplayPlayer* p, const Replay* r);

// Plays up to frames more; false once play ended or the replay ran out. It
// neither guards nor touches the slot's best score: that is PlayReplay's.
bool StepReplayPlayer(ReplayPlayer* p, int frames);

// "finish", "harmful block", "time out" or "still playing".
const char* ReplayEndName(int end);
