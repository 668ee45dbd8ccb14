// tetherorb2-hub-load: the measuring half of make hub-bench.
//
//   tetherorb2-hub-load rerun LEVEL REPLAY [COUNT]
//       re-runs REPLAY on LEVEL COUNT times (default 200) with the hub's own
//       judge, in this process, and prints the time per re-run
//   tetherorb2-hub-load records URL SECONDS CLIENTS ID...
//       CLIENTS threads, each with its own player and connection, read the
//       leaderboards of the levels ID.. (with the player's own rank) for SECONDS
//   tetherorb2-hub-load runs URL SECONDS CLIENTS ID=REPLAY...
//       the same, sending each level's replay as a run to be verified
//
// Each load prints requests a second and the 50th, 99th and largest latency;
// runs turned away by a full verify queue (503 with Retry-After) are counted apart.
#include "hub/hub_game.h"
#include "hub/hub_web.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

using Clock = std::chrono::steady_clock;

static const GameLimits BenchLimits = {1 << 20, 1000000, 1 << 20, 1000000, 16384};
static const long MaxFileBytes = 1 << 20;

static double Percentile(std::vector<double>& ms, double p)
{
  if (ms.empty())
    return 0;
  std::sort(ms.begin(), ms.end());
  size_t at = (size_t)(p * (double)(ms.size() - 1) + 0.5);
  return ms[at];
}

static std::string ReadOrDie(const char* path)
{
  std::string text;
  if (!ReadFileText(path, MaxFileBytes, &text)) {
    fprintf(stderr, "tetherorb2-hub-load: cannot read %s\n", path);
    exit(2);
  }
  return text;
}

static int Rerun(const char* levelPath, const char* replayPath, int count)
{
  std::string level = ReadOrDie(levelPath), replay = ReadOrDie(replayPath);
  std::vector<double> ms;
  Verdict v;
  for (int i = 0; i < count; i++) {
    Clock::time_point start = Clock::now();
    JudgeSubmission(BenchLimits, level, &replay, &v);
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  double total = 0;
  for (double m : ms)
    total += m;
  printf("re-run of %d frames (%.1f s of play, %s): mean %.2f ms, p50 %.2f ms, p99 %.2f ms over %d re-runs\n",
         v.frames, v.frames / 62.5, v.finished ? "finished" : "unfinished", total / count, Percentile(ms, 0.5),
         Percentile(ms, 0.99), count);
  return 0;
}

struct Target {
  std::string id;
  std::string body;   // the run's JSON body; empty for reads
};

static int Load(bool runs, const char* url, int seconds, int clients, const std::vector<Target>& targets)
{
  std::vector<std::vector<double>> latencies(clients);
  std::atomic<long> failures{0}, busy{0};
  Clock::time_point end = Clock::now() + std::chrono::seconds(seconds);
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; c++)
    threads.emplace_back([&, c] {
      httplib::Client client(url);
      client.set_keep_alive(true);
      client.set_tcp_nodelay(true);
      char token[64];
      snprintf(token, sizeof token, "bench-client-token-%04d-abcdefghijklmnopqrstuvwxyz", c);
      httplib::Headers auth = {{"Authorization", std::string("Bearer ") + token}};
      nlohmann::json name = {{"name", "Bench client " + std::to_string(c)}};
      httplib::Result joined = client.Post("/api/v1/players", auth, name.dump(), "application/json");
      if (!joined || joined->status >= 300)
        fprintf(stderr, "client %d could not register: %s\n", c,
                joined ? (std::to_string(joined->status) + " " + joined->body).c_str()
                       : httplib::to_string(joined.error()).c_str());
      for (size_t n = c; Clock::now() < end; n++) {
        const Target& t = targets[n % targets.size()];
        Clock::time_point start = Clock::now();
        httplib::Result r = runs ? client.Post(("/api/v1/levels/" + t.id + "/runs").c_str(), auth, t.body,
                                               "application/json")
                                 : client.Get(("/api/v1/levels/" + t.id + "/records?limit=10").c_str(), auth);
        latencies[c].push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (runs && r && r->status == 503 && r->has_header("Retry-After")) {
          busy++;   // the verifiers' queue was full: turned away at once
        } else if (!r || r->status != (runs ? 201 : 200)) {
          if (failures++ == 0)
            fprintf(stderr, "first unexpected answer: %s\n",
                    r ? (std::to_string(r->status) + " " + r->body).c_str() : httplib::to_string(r.error()).c_str());
        }
      }
    });
  for (std::thread& t : threads)
    t.join();
  std::vector<double> all;
  for (auto& l : latencies)
    all.insert(all.end(), l.begin(), l.end());
  size_t count = all.size();
  double p50 = Percentile(all, 0.5), p99 = Percentile(all, 0.99);
  printf("%s from %d clients for %d s: %zu requests, %.0f a second, p50 %.2f ms, p99 %.2f ms, max %.2f ms, "
         "%ld turned away by a full verify queue, %ld not answered as expected\n",
         runs ? "run submissions" : "leaderboard reads", clients, seconds, count, count / (double)seconds, p50, p99,
         all.empty() ? 0 : all.back(), busy.load(), failures.load());
  return failures.load() == 0 ? 0 : 1;
}

int main(int argc, char** argv)
{
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "rerun" && argc >= 4)
    return Rerun(argv[2], argv[3], argc > 4 ? atoi(argv[4]) : 200);
  if ((mode == "records" || mode == "runs") && argc >= 6) {
    std::vector<Target> targets;
    for (int i = 5; i < argc; i++) {
      std::string arg = argv[i];
      size_t eq = arg.find('=');
      Target t{arg.substr(0, eq), ""};
      if (eq != std::string::npos)
        t.body = nlohmann::json{{"replay", ReadOrDie(arg.c_str() + eq + 1)}}.dump();
      targets.push_back(t);
    }
    return Load(mode == "runs", argv[2], atoi(argv[3]), atoi(argv[4]), targets);
  }
  fprintf(stderr, "usage: tetherorb2-hub-load rerun LEVEL REPLAY [COUNT]\n"
                  "       tetherorb2-hub-load records|runs URL SECONDS CLIENTS ID[=REPLAY]...\n");
  return 2;
}
