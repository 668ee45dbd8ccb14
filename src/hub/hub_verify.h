// hub_verify: the verifier processes. The game layer keeps its world in
// program-wide records, so one process can judge one submission at a time.
// The hub starts a few copies of its own program as "tetherorb2-hub
// verifier", each talking over a socket pair, and hands every judgement to
// a free one: as many replays are re-run at once as there are processes (one
// per core by default), the request threads never touch the game's records,
// and a crash or a hang in the game's step costs one process, which is
// started again, and not the hub. In front of the processes stands a
// bounded queue: a judgement that finds it full, or that waits longer than
// VerifyWaitMilliseconds for a free process, is turned away at once, so
// waiting runs never hold the request threads that reads need.
//   StartVerifiers(count, queue)  starts the pool with queue places to wait in; false when a process could not start
//   Judge(limits, level, replay, verdict)  judges in a free process; judge_*
//   RunVerifier()              the loop of a verifier process, on standard input
//   StopVerifiers()            ends the processes
//   JudgementsAtVerifiers()    judgements a process is working on now
#pragma once

#include "hub/hub_game.h"

#include <string>

const int MaxVerifiers = 16;
const int VerifyTimeoutSeconds = 10;        // a judgement takes milliseconds; past this the process is ended
const int VerifyWaitMilliseconds = 2000;    // the longest a judgement waits for a free process
const int VerifierNiceness = 10;            // below the hub's request threads

enum {
  judge_answered = 0,   // out holds the verdict
  judge_busy = 1,       // the queue was full or no process came free in time: try again later
  judge_lost = 2        // the process died or timed out (it is started again), or none could be started
};

bool StartVerifiers(int count, int queue);

int Judge(const GameLimits& limits, const std::string& level, const std::string* replay, Verdict* out);
int JudgementsAtVerifiers();

// Serves judgements on file descriptor 0 until it closes; returns the exit code.
int RunVerifier();

void StopVerifiers();
