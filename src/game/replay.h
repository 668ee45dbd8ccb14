// replay: recorded play without a window. A replay holds the window size and,
// for every frame, the TimeScale, the held steering and jump keys, the pointer
// and the left button, run-length encoded as text:
//
//   tetherorb2-replay 1
//   screen 800 600
//   <frames> <timescale> <keys> <mouse x> <mouse y> <button>    (one line per run)
//
// where keys is "-" or letters from "LRUDJ" (left, right, up, down, jump).
// The runner feeds a replay through InputState into UpdateGame exactly as
// PollInput would, so a replay proves what a player can do in the real game.
#pragma once

#include <cstdio>

const int MaxReplayRuns = 16384;          // runs of equal frames in one replay
const int MaxReplayFrames = 1000000;      // frames in one replay, all runs together
const float ReplayTimeScale = 0.96f;      // 60 / 62.5 frames per second: 16 ms frames
const int ReplayScreenWidth = 800;        // pixels
const int ReplayScreenHeight = 600;

// Held keys of a frame, as bits.
enum {
  replaykey_left = 1,
  replaykey_right = 2,
  replaykey_up = 4,
  replaykey_down = 8,
  replaykey_jump = 16,
  replaykey_all = 31
};

struct ReplayRun {
  int frames;           // consecutive frames with this input, at least 1
  float timeScale;      // 0.2..2
  int keys;             // replaykey_* bits
  int mouseX, mouseY;   // window pixels from the top-left
  int button;           // 1 while the left button is down
};

struct Replay {
  int screenWidth, screenHeight;  // pixels, 1..16384
  int runCount;
  int frameCount;                 // frames of all runs together
  ReplayRun runs[MaxReplayRuns];
};

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

// An empty replay for an 800 x 600 window.
void ClearReplay(Replay* r);

// Adds frames with one input, merging them into the last run when it matches;
// false when the replay is full.
bool AppendReplay(Replay* r, int frames, float timeScale, int keys, int mouseX, int mouseY, int button);

// Writes the text form; false when the stream fails.
bool WriteReplay(FILE* f, const Replay* r);

// Reads the text form; false (and an empty replay) on anything malformed.
bool ReadReplay(FILE* f, Replay* r);

// Sets ScreenWidth, ScreenHeight and AspectRatio to the replay's window.
void UseReplayScreen(const Replay* r);

// Clears every key, button and pad entry and puts the pointer at the window's centre.
void ResetReplayInput();

// Turns one frame's held keys and button into InputState as PollInput would:
// a control that goes down this frame is 2, still down afterwards 1, up 0.
// Controls then follow from them through the default key bindings.
void ApplyReplayInput(int keys, int mouseX, int mouseY, int button);

// The window pixel over world point (wx, wy) as the camera now shows it,
// clamped into the window: where a player puts the pointer to aim there.
void ReplayPixelAt(float wx, float wy, int* mouseX, int* mouseY);

// After a frame of play: replayend_playing while GameState is still play,
// otherwise why it ended. A finish reached in the same frame as harm or
// time-out counts as a finish.
int JudgeFrame();

// Loads the level file at path into play as StartLevel does, through a
// temporary working directory, and sets GameState to play; false when the
// file cannot be read. The level has no slot (CurrentLevel 0), so its runs
// never write a best score or a ghost.
bool StartLevelFile(const char* path);

// Plays the replay from the present state (after StartLevel or
// StartLevelFile) until play ends or the frames run out. The level's best
// score is neither changed nor written.
ReplayOutcome PlayReplay(const Replay* r);

// "finish", "harmful block", "time out" or "still playing".
const char* ReplayEndName(int end);
