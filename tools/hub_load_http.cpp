// hub_load_http: the closed and the open load of tetherorb2-hub-load.
#include "hub_load.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <thread>

static const double MillisecondsPerSecond = 1000;

static std::string TokenOf(int client)
{
  char token[64];
  snprintf(token, sizeof token, "bench-client-token-%04d-abcdefghijklmnopqrstuvwxyz", client);
  return token;
}

// Every client's player, registered before the load begins (200 when it already is).
static bool RegisterClients(const char* url, int clients)
{
  httplib::Client client(url);
  client.set_keep_alive(true);
  for (int c = 0; c < clients; c++) {
    httplib::Headers auth = {{"Authorization", "Bearer " + TokenOf(c)}};
    nlohmann::json name = {{"name", "Bench client " + std::to_string(c)}};
    httplib::Result r = client.Post("/api/v1/players", auth, name.dump(), "application/json");
    if (!r || r->status >= 300) {
      fprintf(stderr, "client %d could not register: %s\n", c,
              r ? (std::to_string(r->status) + " " + r->body).c_str() : httplib::to_string(r.error()).c_str());
      return false;
    }
  }
  return true;
}

// Sends one request of the target, a run numbered (clientNumber, number),
// and counts its answer; the seconds a busy hub asked to wait (Retry-After), else 0.
static int Send(httplib::Client& client, const LoadTarget& t, const httplib::Headers& auth, long clientNumber,
                long number, Tally* tally)
{
  bool run = t.path.empty();
  httplib::Result r = run ? client.Post(("/api/v1/levels/" + t.levelId + "/runs").c_str(), auth,
                                        RunBody(t, clientNumber, number), "application/json")
                          : client.Get(t.path.c_str(), t.withToken ? auth : httplib::Headers());
  if (r && r->status == (run ? 201 : 200)) {
    tally->answered++;
    return 0;
  }
  if (run && r && r->status == 503 && r->has_header("Retry-After")) {
    tally->busy++;
    return atoi(r->get_header_value("Retry-After").c_str());
  }
  if (tally->failed++ == 0)
    fprintf(stderr, "first unexpected answer: %s\n",
            r ? (std::to_string(r->status) + " " + r->body).c_str() : httplib::to_string(r.error()).c_str());
  return 0;
}

static double Since(LoadClock::time_point start)
{
  return std::chrono::duration<double, std::milli>(LoadClock::now() - start).count();
}

static bool NeedsPlayers(const std::vector<LoadTarget>& targets)
{
  for (const LoadTarget& t : targets)
    if (t.path.empty() || t.withToken)
      return true;
  return false;
}

static const char* KindOf(const std::vector<LoadTarget>& targets)
{
  return targets[0].path.empty() ? "runs" : "reads";
}

// The clients' tallies, summed and printed.
static int Report(const char* label, std::vector<Tally>& tallies, double seconds)
{
  Tally all;
  for (Tally& t : tallies) {
    all.ms.insert(all.ms.end(), t.ms.begin(), t.ms.end());
    all.reruns.insert(all.reruns.end(), t.reruns.begin(), t.reruns.end());
    all.answered += t.answered;
    all.busy += t.busy;
    all.failed += t.failed;
  }
  PrintTally(label, all, seconds);
  return all.failed == 0 ? 0 : 1;
}

static void Connect(httplib::Client& client)
{
  client.set_keep_alive(true);
  client.set_tcp_nodelay(true);
}

int ClosedLoad(const char* url, int seconds, int clients, const std::vector<LoadTarget>& targets)
{
  if (NeedsPlayers(targets) && !RegisterClients(url, clients))
    return 1;
  std::vector<Tally> tallies(clients);
  LoadClock::time_point end = LoadClock::now() + std::chrono::seconds(seconds);
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; c++)
    threads.emplace_back([&, c] {
      httplib::Client client(url);
      Connect(client);
      httplib::Headers auth = {{"Authorization", "Bearer " + TokenOf(c)}};
      for (size_t n = c; LoadClock::now() < end; n++) {
        LoadClock::time_point start = LoadClock::now();
        long answered = tallies[c].answered;
        const LoadTarget& t = targets[n % targets.size()];
        int wait = Send(client, t, auth, c, (long)n, &tallies[c]);
        if (tallies[c].answered > answered)
          CountAnswer(&tallies[c], t, Since(start));
        // A client turned away waits as asked, as the game's does.
        std::this_thread::sleep_until(std::min(end, LoadClock::now() + std::chrono::seconds(wait)));
      }
    });
  for (std::thread& t : threads)
    t.join();
  char label[128];
  snprintf(label, sizeof label, "%s, closed loop of %d clients for %d s", KindOf(targets), clients, seconds);
  return Report(label, tallies, seconds);
}

// Client c sends at start + (c + k * clients) / rate for k = 0, 1 ..: together
// the clients send rate requests a second, evenly spaced. A client still
// waiting for an answer when its next time comes sends late, and the
// lateness counts in that request's latency.
int OpenLoad(const char* url, int seconds, double rate, int clients, const std::vector<LoadTarget>& targets)
{
  if (NeedsPlayers(targets) && !RegisterClients(url, clients))
    return 1;
  std::vector<Tally> tallies(clients);
  std::vector<long> scheduled(clients);
  auto interval = std::chrono::duration<double>(1.0 / rate);
  LoadClock::time_point start = LoadClock::now() + std::chrono::milliseconds(100);   // the threads are up by then
  LoadClock::time_point end = start + std::chrono::seconds(seconds);
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; c++)
    threads.emplace_back([&, c] {
      httplib::Client client(url);
      Connect(client);
      httplib::Headers auth = {{"Authorization", "Bearer " + TokenOf(c)}};
      for (long k = 0;; k++) {
        auto due = start + std::chrono::duration_cast<LoadClock::duration>(interval * (double)(c + k * clients));
        if (due >= end)
          break;
        std::this_thread::sleep_until(due);
        scheduled[c]++;
        long answered = tallies[c].answered;
        const LoadTarget& t = targets[(size_t)(c + k * clients) % targets.size()];
        Send(client, t, auth, c, k, &tallies[c]);
        if (tallies[c].answered > answered)
          CountAnswer(&tallies[c], t, Since(due));
      }
    });
  for (std::thread& t : threads)
    t.join();
  long sent = 0;
  for (long s : scheduled)
    sent += s;
  double late = std::chrono::duration<double>(LoadClock::now() - end).count();
  char label[160];
  snprintf(label, sizeof label, "%s, open loop at %.0f/s over %d connections for %d s (%ld sent, last answer %.0f ms "
           "after the schedule's end)", KindOf(targets), rate, clients, seconds, sent, late * MillisecondsPerSecond);
  return Report(label, tallies, seconds);
}
