// ghost: the ball's path through a run. Every frame of play is recorded into
// a buffer sized at the level's start for the longest run the level allows
// (GhostFramesFor); a run that sets a new best score keeps its path as
// "levelN.ghost" beside the score file. The best run plays back in time with
// the run in play, measured in game time (the sum of each frame's TimeScale,
// in 60 Hz frames), so a run at another frame rate still races it fairly.
// Watching a best run moves the ball along it, with its tether, without play
// (StepGhostWatch in rules.h).
// Platform-free.
//
// The file, little-endian, exactly GhostHeaderBytes + 16 x frames bytes:
//   "T2GH"                       magic word
//   uint32 version               GhostVersion (2)
//   uint32 frames                1..MaxGhostFrames
//   frames x { float timeScale, float x, float y,      IEEE 754, 0.2..2, finite
//              int16 anchorX, int16 anchorY }          the tether's anchor in
//              1/32 cells; both -32768 while the tether is released
// A version 1 file (12 bytes a frame: timeScale, x, y) is read as a run that
// never used the tether. Anything else (missing, empty, short, long, another
// version, values out of range, one anchor coordinate released and the other
// not) is no ghost: the level plays as if it had none.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

#include "game/files/level_files.h"
#include "game/play/world.h"

// The longest run recorded whole: the level's 300 tenths and
// GhostPickupsCovered pickups of 50 tenths, all at the smallest TimeScale,
// 0.2, where the timer falls a thirtieth of a tenth per frame. Frames past
// this are not recorded, and the ghost ends there.
const int GhostSlowestFramesPerTenth = 30;
const int GhostPickupsCovered = 30;
const int MaxGhostFrames =
    GhostSlowestFramesPerTenth * (int)(LevelTimeAtStart + GhostPickupsCovered * PickupTime);  // 54000

const int GhostVersion = 2;
const int GhostVersionUntethered = 1;    // files from before the tether was recorded
const int GhostHeaderBytes = 12;
const int GhostFrameBytes = 16;
const int GhostUntetheredFrameBytes = 12;
const size_t GhostFileMaxBytes = GhostHeaderBytes + (size_t)GhostFrameBytes * MaxGhostFrames;
const float GhostAnchorSteps = 32;       // anchor units per cell: levels up to 1023 cells fit an int16
const short GhostNoAnchor = -32768;      // both anchor coordinates while the tether is released

struct GhostFrame {
  float timeScale;         // the frame's step, 0.2..2
  float x, y;              // the ball's centre after the frame, world units
  short anchorX, anchorY;  // the tether's anchor in 1/32 cells, or GhostNoAnchor
};

struct GhostPath {
  int frameCount;                  // frames of the path
  std::vector<GhostFrame> frames;  // its size is the room: frameCount of them hold the path
};

extern GhostPath GhostTake;        // the run in play, frame by frame
extern GhostPath GhostBest;        // the best run of GhostLevel, as its file holds it
extern int GhostLevel;             // the level GhostBest belongs to; 0 for none
extern float GhostClock;           // game time of the run in play or watched, in 60 Hz frames
extern bool GhostRecording;        // frames of play go into GhostTake
extern bool LevelHasGhost[MaxLevels]; // a readable ghost file lies beside the level's score

// The frames a run of a level with that many extra-time pickups can last:
// its timer and every pickup at the smallest TimeScale, at most MaxGhostFrames.
int GhostFramesFor(int pickups);

// Reads a ghost file, making room in out for its frames; false, with an
// empty path, for anything but a whole, well-formed file.
bool ReadGhostStream(FILE* f, GhostPath* out);

// The file's bytes for a path of 1..MaxGhostFrames frames into out (room for
// GhostHeaderBytes and GhostFrameBytes a frame); the count written, 0 for an
// empty path.
size_t EncodeGhost(const GhostPath* path, unsigned char* out);

// Reads level n's ghost file into out; false (out empty) when there is none.
bool LoadGhost(int n, GhostPath* out);

// Sets LevelHasGhost from the files present for every slot the lists show
// (LevelSlotShown); the others have none.
void ScanGhostFiles();

// A new run of level n that can last frames frames (GhostFramesFor): room
// for that many in GhostTake and for saving them, GhostTake empty, GhostClock
// 0, recording on, and GhostBest holding level n's best run (read from its
// file when it holds another level's) with room for a new best of this run.
// The only place play makes room: a restart of the same level makes none.
void BeginGhostRun(int n, int frames);

// Adds the frame's t to GhostClock and, while recording and with room left,
// appends the ball's position and tether to GhostTake.
void RecordGhostFrame(float t);

// Level n's run in GhostTake becomes its best: saved as its ghost file
// (true when written) and kept as GhostBest.
bool SaveGhost(int n);

// Level n's run in GhostTake becomes GhostBest without a file: the best run
// of a best that could not be saved, raced for the rest of the session.
void KeepGhost(int n);

// GhostBest no longer stands for level n (another copy of the game saved a
// better run): the next run of n reads its file again.
void ForgetGhost(int n);

// Where the best run's ball is at game time clock: between the two frames
// around it; the first frame's place before it; false past the last frame or
// with no best run.
bool GhostPositionAt(float clock, float* x, float* y);

// The best run's tether at the clock GhostPositionAt last placed the ball:
// true, with its anchor in world units, while it was attached.
bool GhostAnchor(float* x, float* y);
