// hub_load_ceiling: the two ceilings the hub is measured against, what the
// same processes do with no hub around them.
#include "hub_load.h"

#include "hub/hub_api.h"
#include "hub/hub_body.h"
#include "hub/hub_game.h"
#include "hub/hub_options.h"
#include "hub/hub_serve.h"
#include "hub/hub_verify.h"

#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

static const double MicrosecondsPerSecond = 1e6;

// Each process re-runs the pairs in turn, as the hub's verifier processes
// would: the same judge, the hub's default limits, the same niceness, and
// replays numbered as the loads number theirs. It writes how many it
// finished to the pipe.
static void RerunUntil(LoadClock::time_point end, const std::vector<std::string>& levels,
                       const std::vector<std::string>& replays, int process, int pipe)
{
  errno = 0;
  if (nice(VerifierNiceness) == -1 && errno != 0)
    perror("tetherorb2-hub-load: nice");
  long done = 0;
  for (size_t n = 0; LoadClock::now() < end; n++) {
    Verdict v;
    std::string replay = NumberedReplay(replays[n % replays.size()], 0, process, (long)n);
    JudgeSubmission(HubOptions.game, levels[n % levels.size()], &replay, &v);
    done += v.finished;
  }
  if (write(pipe, &done, sizeof done) != (ssize_t)sizeof done)
    _exit(1);
  _exit(0);
}

int VerifierCeiling(int seconds, int processes, char** pairs, int count)
{
  std::vector<std::string> levels, replays;
  for (int i = 0; i < count; i++) {
    std::string pair = pairs[i];
    size_t eq = pair.find('=');
    if (eq == std::string::npos) {
      fprintf(stderr, "tetherorb2-hub-load: %s is no LEVEL=REPLAY\n", pairs[i]);
      return 2;
    }
    levels.push_back(ReadOrDie(pair.substr(0, eq).c_str()));
    replays.push_back(ReadOrDie(pair.c_str() + eq + 1));
  }
  int fds[2];
  if (pipe(fds) != 0)
    return 1;
  LoadClock::time_point end = LoadClock::now() + std::chrono::seconds(seconds);
  for (int p = 0; p < processes; p++)
    if (fork() == 0)
      RerunUntil(end, levels, replays, p, fds[1]);
  close(fds[1]);
  long total = 0, done;
  while (read(fds[0], &done, sizeof done) == (ssize_t)sizeof done)
    total += done;
  while (wait(nullptr) > 0) {
  }
  rusage used;
  getrusage(RUSAGE_CHILDREN, &used);
  double cpu = (double)(used.ru_utime.tv_sec + used.ru_stime.tv_sec) +
               (double)(used.ru_utime.tv_usec + used.ru_stime.tv_usec) / MicrosecondsPerSecond;
  printf("verifier ceiling, %d bare re-run processes for %d s: %ld re-runs finished, %.0f/s, %.2f ms of processor "
         "time each\n", processes, seconds, total, total / (double)seconds, total ? cpu * 1000 / (double)total : 0);
  fflush(stdout);
  return 0;
}

int ServeFixedAnswer()
{
  HubOptions.connectionsPerAddress = 0;   // the load's clients all come from this machine
  HubServer server;
  SetUpServer(server);
  server.Get("/fixed", [](const httplib::Request&, httplib::Response& res) {
    SendJson(res, 200, nlohmann::json{{"ok", true}});
  });
  AddBodyGuards(server);
  int port = server.bind_to_any_port("127.0.0.1");
  if (port <= 0)
    return 1;
  server.DeepenBacklog();
  printf("tetherorb2-hub-load: serving on http://127.0.0.1:%d/\n", port);
  fflush(stdout);
  server.listen_after_bind();
  return 0;
}
