// hub_game: the level hub's only door into the game layer. It reads a
// level's text with the game's own reader, checks its spawn and finish,
// writes it back the way the game writes level files (the canonical text a
// level's id comes from), reads a replay with the game's reader and re-runs
// it on that level with the game's own step. The game keeps its world in
// program-wide records, so a process judges one submission at a time (the
// hub does it in its verifier processes, see hub_verify.h).
//   GameLimits          the hub's bounds on a level and a replay
//   Verdict             what a judgement found: canonical texts and the run's end, or why not
//   JudgeSubmission()   reads a level and, when given, re-runs a replay on it
#pragma once

#include <string>

struct GameLimits {
  long maxLevelBytes;     // bytes of a level's text
  long maxLevelCells;     // width x height
  long maxReplayBytes;    // bytes of a replay's text
  long maxReplayFrames;   // frames of all its runs together
  long maxReplayRuns;     // lines of equal input
};

// Why a submission was refused, from the kinds of answer a client gets.
enum {
  verdict_ok = 0,
  verdict_malformed = 1,   // not a level or replay file the game reads as written
  verdict_too_large = 2,   // more bytes than the limits allow
  verdict_refused = 3,     // read, but the hub will not take it: too big a level,
                           // a missing spawn or finish, a run that does not finish
  VerdictCount
};

struct Verdict {
  int error;               // verdict_*
  std::string why;         // what was wrong, for the client; empty when error is verdict_ok
  std::string level;       // the level as the game writes it
  std::string title;       // its title line without the line feed
  int width, height;       // cells
  bool ran;                // a replay was given, read and re-run
  bool finished;           // the replay reached the finish
  int score;               // time left at the finish in tenths; 0 otherwise
  int frames;              // frames played
  std::string replay;      // the replay as the game writes it
};

// Reads levelText with the game's limits and the hub's, checks that it has
// exactly one spawn and a finish, and, when replayText is not null, re-runs
// it there. A replay that does not reach the finish is refused with the way
// it ended. Uses the game's program-wide world: one call at a time.
void JudgeSubmission(const GameLimits& limits, const std::string& levelText,
                     const std::string* replayText, Verdict* out);
