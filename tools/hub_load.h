// hub_load: what the parts of tetherorb2-hub-load share.
//   LoadTarget                 one request a load sends: a GET, with the client's token or not, or a run
//   ReadTargets(args, count)   targets from the command line: /PATH, +/PATH (with a token), ID=REPLAY (a run),
//                              ID=REPLAY=LEVEL (a run whose latency is also counted in re-runs of its own)
//   NumberedReplay(replay, load, client, run)   the replay made a run of its own, numbered by the three
//   RunBody(target, client, run)   the JSON body of a run target, its replay numbered for this load
//   ReadOrDie(path)            a file's text, or the program ends
//   Tally                      the answers of one load and their latencies
//   CountAnswer(tally, target, ms)   one answer's latency, and in re-runs of its own when known
//   PrintTally(label, tally, seconds)   one line: answers a second, p50, p99, p99.9, max
//   ClosedLoad(url, seconds, clients, targets)       each client sends its next request on the last's answer
//   OpenLoad(url, seconds, rate, clients, targets)   requests sent on a fixed schedule whatever the answers do
//   VerifierCeiling(seconds, processes, pairs, count)   re-runs a second of bare processes; pairs LEVEL=REPLAY
//   ServeFixedAnswer()         the hub's HTTP server set-up answering GET /fixed with a small fixed body
#pragma once

#include <chrono>
#include <string>
#include <vector>

using LoadClock = std::chrono::steady_clock;

struct LoadTarget {
  std::string path;      // of a GET; empty for a run
  bool withToken;        // a GET that carries the client's token
  std::string levelId;   // of a run
  std::string replay;    // the run's replay text, numbered by RunBody for each send
  double rerunMs;        // the median time to re-run it here, or 0 when no level was given
};

struct Tally {
  std::vector<double> ms;   // the latency of each answer as expected
  std::vector<double> reruns;   // of runs with a known re-run time: the latency over it
  long answered = 0;        // as expected
  long busy = 0;            // 503 with Retry-After: turned away by a full verify queue
  long failed = 0;          // anything else
};

std::vector<LoadTarget> ReadTargets(char** args, int count);
std::string NumberedReplay(const std::string& replay, long load, long client, long run);
std::string RunBody(const LoadTarget& t, long client, long run);
std::string ReadOrDie(const char* path);
void CountAnswer(Tally* tally, const LoadTarget& target, double ms);
void PrintTally(const char* label, Tally& tally, double seconds);
int ClosedLoad(const char* url, int seconds, int clients, const std::vector<LoadTarget>& targets);
int OpenLoad(const char* url, int seconds, double rate, int clients, const std::vector<LoadTarget>& targets);
int VerifierCeiling(int seconds, int processes, char** pairs, int count);
int ServeFixedAnswer();
