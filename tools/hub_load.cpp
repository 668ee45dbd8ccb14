// tetherorb2-hub-load: the measuring half of make hub-bench (tools/hub-bench.sh).
//
//   tetherorb2-hub-load rerun LEVEL REPLAY [COUNT]
//       re-runs REPLAY on LEVEL COUNT times (default 200) with the hub's own
//       judge, in this process, and prints the time per re-run
//   tetherorb2-hub-load ceiling SECONDS PROCESSES LEVEL=REPLAY...
//       the verifier ceiling: PROCESSES bare processes re-run the replays in
//       turn for SECONDS, at the verifiers' niceness, without HTTP or database
//   tetherorb2-hub-load fixed
//       the read ceiling's server: the hub's HTTP set-up answering GET /fixed
//       with a small fixed body; prints its address, serves until killed
//   tetherorb2-hub-load closed URL SECONDS CLIENTS TARGET...
//       CLIENTS threads, each with its own player and connection, each sending
//       its next request as soon as the last is answered (or, turned away by
//       a busy hub, after its Retry-After): the saturation rate
//   tetherorb2-hub-load open URL SECONDS RATE CLIENTS TARGET...
//       RATE requests a second on a fixed schedule over CLIENTS connections,
//       whatever the answers do; a latency counts from the request's place in
//       the schedule, so a slow answer is not hidden by the requests it delays
//
// TARGET: /PATH a GET without a token, +/PATH a GET with the client's token,
// ID=REPLAY a run of REPLAY on level ID (sent in turn, client by client).
// Each load prints answers a second and the p50, p99, p99.9 and largest
// latency of the answers as expected; runs turned away by a full verify queue (503 with Retry-After)
// are counted apart.
#include "hub_load.h"

#include "hub/hub_game.h"
#include "hub/hub_options.h"
#include "hub/hub_serve.h"
#include "hub/hub_web.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>

static const GameLimits BenchLimits = {1 << 20, 1000000, 1 << 20, 1000000, 16384};
static const long MaxFileBytes = 1 << 20;
static const double FramesPerSecond = 62.5;

std::string ReadOrDie(const char* path)
{
  std::string text;
  if (!ReadFileText(path, MaxFileBytes, &text)) {
    fprintf(stderr, "tetherorb2-hub-load: cannot read %s\n", path);
    exit(2);
  }
  return text;
}

// A run's own re-run time: the median of a few, with the hub's limits.
static double MedianRerun(const std::string& level, const std::string& replay)
{
  static const int Reruns = 21;
  std::vector<double> ms;
  for (int i = 0; i < Reruns; i++) {
    Verdict v;
    LoadClock::time_point start = LoadClock::now();
    JudgeSubmission(HubOptions.game, level, &replay, &v);
    ms.push_back(std::chrono::duration<double, std::milli>(LoadClock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[Reruns / 2];
}

std::vector<LoadTarget> ReadTargets(char** args, int count)
{
  std::vector<LoadTarget> targets;
  for (int i = 0; i < count; i++) {
    std::string arg = args[i];
    LoadTarget t{"", false, "", "", 0};
    size_t eq = arg.find('='), level = arg.find('=', eq == std::string::npos ? eq : eq + 1);
    if (arg[0] == '/' || arg[0] == '+') {
      t.withToken = arg[0] == '+';
      t.path = t.withToken ? arg.substr(1) : arg;
    } else if (eq != std::string::npos) {
      t.levelId = arg.substr(0, eq);
      t.replay = ReadOrDie(arg.substr(eq + 1, level == std::string::npos ? level : level - eq - 1).c_str());
      if (level != std::string::npos)
        t.rerunMs = MedianRerun(ReadOrDie(arg.c_str() + level + 1), t.replay);
    } else {
      fprintf(stderr, "tetherorb2-hub-load: %s is no target (/PATH, +/PATH, ID=REPLAY or ID=REPLAY=LEVEL)\n", args[i]);
      exit(2);
    }
    targets.push_back(t);
  }
  return targets;
}

// The hub stores a replay once for each player and level (a repeat is
// answered as the first was, and writes nothing), so each run a load posts
// must be a replay of its own. Three one-frame lines go after the last,
// each an idle input at the last line's time scale whose pointer position is one number: the load (its
// second of the day), the client and the client's run. The replay stops at
// the finish, which the shipped solutions reach on their last frame, so the
// lines are never played: the re-run costs what the shipped one costs, and
// the lines alternate their keys so the reader does not merge them.
std::string NumberedReplay(const std::string& replay, long load, long client, long run)
{
  int width = 0, height = 0;
  size_t screen = replay.find("\nscreen ");
  if (screen == std::string::npos || sscanf(replay.c_str() + screen, "\nscreen %d %d", &width, &height) != 2 ||
      width < 1 || height < 1)
    return replay;
  std::string out = replay;
  if (!out.empty() && out.back() != '\n')
    out += '\n';
  // The last line's time scale, which the judge takes as played.
  char scale[16];
  size_t last = out.rfind('\n', out.size() - 2);
  if (last == std::string::npos || sscanf(out.c_str() + last + 1, "%*d %15s", scale) != 1)
    return replay;
  const long numbers[] = {load, client, run};
  const char* const keys[] = {"-", "J", "-"};
  for (int i = 0; i < 3; i++) {
    long n = numbers[i] % ((long)width * height);
    char line[64];
    snprintf(line, sizeof line, "1 %s %s %ld %ld 0\n", scale, keys[i], n % width, n / width);
    out += line;
  }
  return out;
}

static long LoadNumber()
{
  static const long SecondsPerDay = 86400;
  static const long load = (long)time(nullptr) % SecondsPerDay;
  return load;
}

std::string RunBody(const LoadTarget& t, long client, long run)
{
  return nlohmann::json{{"replay", NumberedReplay(t.replay, LoadNumber(), client, run)}}.dump();
}

static double Percentile(const std::vector<double>& sorted, double p)
{
  if (sorted.empty())
    return 0;
  return sorted[(size_t)(p * (double)(sorted.size() - 1) + 0.5)];
}

void CountAnswer(Tally* tally, const LoadTarget& target, double ms)
{
  tally->ms.push_back(ms);
  if (target.rerunMs > 0)
    tally->reruns.push_back(ms / target.rerunMs);
}

void PrintTally(const char* label, Tally& tally, double seconds)
{
  std::sort(tally.ms.begin(), tally.ms.end());
  std::sort(tally.reruns.begin(), tally.reruns.end());
  printf("%s: %ld answered, %.0f/s, p50 %.2f ms, p99 %.2f ms, p99.9 %.2f ms, max %.2f ms; ",
         label, tally.answered, tally.answered / seconds, Percentile(tally.ms, 0.5), Percentile(tally.ms, 0.99),
         Percentile(tally.ms, 0.999), tally.ms.empty() ? 0 : tally.ms.back());
  if (!tally.reruns.empty())   // the scripts read the line's last part, so this goes before it
    printf("in re-runs of each run's own: p50 %.1f, p99 %.1f, p99.9 %.1f; ", Percentile(tally.reruns, 0.5),
           Percentile(tally.reruns, 0.99), Percentile(tally.reruns, 0.999));
  printf("%ld turned away by a full verify queue, %ld not as expected\n", tally.busy, tally.failed);
  fflush(stdout);
}

static int Rerun(const char* levelPath, const char* replayPath, int count)
{
  std::string level = ReadOrDie(levelPath), replay = ReadOrDie(replayPath);
  std::vector<double> ms;
  Verdict v;
  double total = 0;
  for (int i = 0; i < count; i++) {
    LoadClock::time_point start = LoadClock::now();
    JudgeSubmission(BenchLimits, level, &replay, &v);
    ms.push_back(std::chrono::duration<double, std::milli>(LoadClock::now() - start).count());
    total += ms.back();
  }
  std::sort(ms.begin(), ms.end());
  printf("re-run of %d frames (%.1f s of play, %s): mean %.2f ms, p50 %.2f ms, p99 %.2f ms over %d re-runs\n",
         v.frames, v.frames / FramesPerSecond, v.finished ? "finished" : "unfinished", total / count,
         Percentile(ms, 0.5), Percentile(ms, 0.99), count);
  return 0;
}

int main(int argc, char** argv)
{
  KeepFreedMemory();   // as the hub's processes do, so that the ceilings are theirs
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "rerun" && argc >= 4)
    return Rerun(argv[2], argv[3], argc > 4 ? atoi(argv[4]) : 200);
  if (mode == "ceiling" && argc >= 5)
    return VerifierCeiling(atoi(argv[2]), atoi(argv[3]), argv + 4, argc - 4);
  if (mode == "fixed")
    return ServeFixedAnswer();
  if (mode == "closed" && argc >= 6)
    return ClosedLoad(argv[2], atoi(argv[3]), atoi(argv[4]), ReadTargets(argv + 5, argc - 5));
  if (mode == "open" && argc >= 7)
    return OpenLoad(argv[2], atoi(argv[3]), atof(argv[4]), atoi(argv[5]), ReadTargets(argv + 6, argc - 6));
  fprintf(stderr, "usage: tetherorb2-hub-load rerun LEVEL REPLAY [COUNT]\n"
                  "       tetherorb2-hub-load ceiling SECONDS PROCESSES LEVEL=REPLAY...\n"
                  "       tetherorb2-hub-load fixed\n"
                  "       tetherorb2-hub-load closed URL SECONDS CLIENTS TARGET...\n"
                  "       tetherorb2-hub-load open URL SECONDS RATE CLIENTS TARGET...\n");
  return 2;
}
