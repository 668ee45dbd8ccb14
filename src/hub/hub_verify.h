// hub_verify: the verifier processes. The game layer keeps its world in
// program-wide records, so one process can judge one submission at a time.
// The hub starts a few copies of its own program as "tetherorb2-hub
// verifier", each talking over a socket pair, and hands every judgement to
// a free one: as many replays are re-run at once as there are processes (one
// per core by default), the request threads never touch the game's records,
// and a crash or a hang in the game's step costs one process, which is
// started again, and not the hub.
//   StartVerifiers(count)      starts the pool; false when a process could not start
//   Judge(limits, level, replay, verdict)  judges in a free process (blocks while all are busy)
//   RunVerifier()              the loop of a verifier process, on standard input
//   StopVerifiers()            ends the processes
#pragma once

#include "hub/hub_game.h"

#include <string>

const int MaxVerifiers = 16;
const int VerifyTimeoutSeconds = 10;   // a judgement takes milliseconds; past this the process is ended

bool StartVerifiers(int count);

// False when no process answered (it died or timed out); the process is
// then started again and the submission can be sent once more.
bool Judge(const GameLimits& limits, const std::string& level, const std::string* replay, Verdict* out);

// Serves judgements on file descriptor 0 until it closes; returns the exit code.
int RunVerifier();

void StopVerifiers();
