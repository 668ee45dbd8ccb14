// replay: recorded play as text, to be run again without a window
// (replay_run.h). A replay holds, run-length encoded, what each frame of play
// was fed, in one of two versions:
//
//   tetherorb2-replay 1
//   screen 800 600
//   <frames> <timescale> <keys> <mouse x> <mouse y> <button>          (one line per run)
//
// Version 1 holds the held steering and jump keys ("-" or letters from
// "LRUDJ": left, right, up, down, jump), the pointer and the left button, as
// the default key bindings read them: keyboard and mouse play only.
//
//   tetherorb2-replay 2
//   screen 800 600
//   <frames> <timescale> <steer x> <steer y> <held> <aim x> <aim y>   (one line per run)
//
// Version 2 holds what the game step reads of the controls record, so any
// run, with a pad or other bindings, is kept exactly: the steering, -1..1
// each (a stick gives less than a whole step), held "-" or letters from
// "JTS" (jump held, tether held, tether shot this frame), and the aim point
// in window pixels. A "screen" line between runs gives the window's new size
// from the next frame on. Numbers are written so that they read back as the
// same float, bit for bit.
//
//   tetherorb2-replay 3
//
// Version 3 has the lines of version 2 and was played with the camera
// leading toward the pointer. As the aim's world point hangs on the camera,
// versions 1 and 2 are re-run with the camera they were played with, the
// older one; every run of play is recorded as version 3.
#pragma once

#include <cstdio>
#include <vector>

const int MaxReplayRuns = 65536;          // runs of equal frames in one replay: one a frame of the longest recorded run
const int MaxReplayFrames = 1000000;      // frames in one replay, all runs together
const float ReplayTimeScale = 0.96f;      // 60 / 62.5 frames per second: 16 ms frames
const int ReplayScreenWidth = 800;        // pixels
const int ReplayScreenHeight = 600;
const int MaxReplayScreen = 16384;        // pixels along either side
const int ReplayKeysVersion = 1;          // held keys, pointer and left button
const int ReplayControlsVersion = 2;      // the controls the game step reads
const int ReplayLeadVersion = 3;          // as version 2, played with the camera leading toward the pointer

// Held keys of a version 1 frame, as bits.
enum {
  replaykey_left = 1,
  replaykey_right = 2,
  replaykey_up = 4,
  replaykey_down = 8,
  replaykey_jump = 16,
  replaykey_all = 31
};

// What the game step reads of the controls record in one frame.
struct PlayControls {
  float steerX, steerY;   // -1..1 each, right and down positive
  float aimX, aimY;       // window pixels the tether aims at
  bool jump;              // jump held
  bool tether;            // tether held
  bool tetherShot;        // a tether button went down this frame
};

struct ReplayRun {
  int frames;                     // consecutive frames with this input, at least 1
  float timeScale;                // 0.2..2
  int screenWidth, screenHeight;  // the window during these frames, pixels
  int keys;                       // version 1: replaykey_* bits
  int mouseX, mouseY;             // version 1: window pixels from the top-left
  int button;                     // version 1: 1 while the left button is down
  PlayControls controls;          // version 2
};

struct Replay {
  int version;                    // Replay*Version: the form it was read in or made for
  int screenWidth, screenHeight;  // the window at the first frame, pixels, 1..MaxReplayScreen
  int frameCount;                 // frames of all runs together
  int maxRuns;                    // the most runs it may take, at most MaxReplayRuns
  std::vector<ReplayRun> runs;
};

// An empty version 1 replay for an 800 x 600 window taking MaxReplayRuns runs.
void ClearReplay(Replay* r);

// Adds frames with one version 1 input, merging them into the last run when
// it matches; false when the replay is full.
bool AppendReplay(Replay* r, int frames, float timeScale, int keys, int mouseX, int mouseY, int button);

// Adds frames of version 2 controls in a width x height window, merging them
// into the last run when it matches bit for bit; false when the replay is
// full. Nothing is allocated while runs has room (a reserved replay).
bool AppendReplayControls(Replay* r, int frames, float timeScale, const PlayControls& c, int width, int height);

// Writes the text form; false when the stream fails.
bool WriteReplay(FILE* f, const Replay* r);

// Writes the text form into out (size bytes, terminated); its length, or -1
// when it does not fit. Nothing is allocated.
long ReplayToText(const Replay* r, char* out, size_t size);

// The most bytes a line of any version takes, its line feed included.
const int MaxReplayLineBytes = 128;

// True when the replay was played with the camera leading toward the pointer (version 3).
bool ReplayCameraLeads(const Replay* r);

// Reads the text form of any version; false (and an empty replay) on
// anything malformed.
bool ReadReplay(FILE* f, Replay* r);
