// hub_serve: start-up, the shipped levels, the HTTP server and its signals.
#include "hub/hub_serve.h"

#include "hub/hub_access.h"
#include "hub/hub_api.h"
#include "hub/hub_backup.h"
#include "hub/hub_body.h"
#include "hub/hub_db.h"
#include "hub/hub_etag.h"
#include "hub/hub_metrics.h"
#include "hub/hub_options.h"
#include "hub/hub_page_front.h"
#include "hub/hub_page_levels.h"
#include "hub/hub_page_players.h"
#include "hub/hub_picture.h"
#include "hub/hub_refusal.h"
#include "hub/hub_reports.h"
#include "hub/hub_schema.h"
#include "hub/hub_socket.h"
#include "hub/hub_store_levels.h"
#include "hub/hub_store_runs.h"
#include "hub/hub_tries.h"
#include "hub/hub_verify.h"
#include "hub/hub_web.h"
#include "hub/hub_words.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>
#include <malloc.h>
#include <sys/socket.h>
#include <unistd.h>

static const int ShippedSlots = 15;
static const long MaxShippedFileBytes = 4 << 20;
static const int KeepAliveRequests = 1000;   // on one connection before the hub closes it
static const int KeepAliveSeconds = 5;       // idle time before the hub closes a connection
static const int ReadTimeoutSeconds = 5;     // a request that sends nothing for this long is dropped
static const int WriteTimeoutSeconds = 5;
static const long MaxReadSeconds = 3600;     // --read-seconds, in milliseconds, stays an int
static const int MillisecondsPerSecond = 1000;
static const int ListenBacklog = 1024;       // connections waiting to be accepted
static const int StopPollMilliseconds = 10;

// Each shipped level, with its solution as its author run, is known from the start.
static void ImportShippedLevels()
{
  int levels = 0, runs = 0;
  for (int slot = 1; slot <= ShippedSlots; slot++) {
    std::string level, replay;
    if (!ReadFileText(HubOptions.levels + "/level" + std::to_string(slot) + ".dat", MaxShippedFileBytes, &level))
      continue;
    bool solved = !HubOptions.solutions.empty() &&
                  ReadFileText(HubOptions.solutions + "/level" + std::to_string(slot) + ".replay",
                               MaxShippedFileBytes, &replay);
    Verdict v;
    if (Judge(HubOptions.game, level, solved ? &replay : nullptr, &v) != judge_answered || v.level.empty()) {
      fprintf(stderr, "tetherorb2-hub: shipped level %d left out: %s\n", slot, v.why.c_str());
      continue;
    }
    if (solved && !v.finished)
      fprintf(stderr, "tetherorb2-hub: the solution of level %d: %s\n", slot, v.why.c_str());
    try {
      InTransaction(tx_write, [&](DbTx& tx) {
        tx.LockSchema();
        ImportShippedLevel(tx, slot, v);
      });
      levels++;
      runs += v.finished;
    } catch (const Refusal& r) {
      fprintf(stderr, "tetherorb2-hub: shipped level %d: %s\n", slot, r.why.c_str());
    }
  }
  printf("tetherorb2-hub: %d shipped levels from %s, %d author runs\n", levels, HubOptions.levels.c_str(), runs);
}

static void AnswerHttplibErrors(httplib::Server& server)
{
  // httplib's own refusals (no route, too large a body) get a JSON body too.
  httplib::Server::HandlerWithResponse answer = [](const httplib::Request& req, httplib::Response& res) {
    if (!res.body.empty())
      return httplib::Server::HandlerResponse::Unhandled;
    SendError(res, res.status, res.status == 404 ? "no such route"
                               : res.status == 413 ? TooLargeWhy(req)
                                                   : "bad request");
    return httplib::Server::HandlerResponse::Handled;
  };
  server.set_error_handler(answer);
  server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
    try {
      std::rethrow_exception(ep);
    } catch (const std::exception& e) {
      fprintf(stderr, "tetherorb2-hub: %s\n", e.what());
    } catch (...) {
    }
    SendError(res, 500, "the hub failed on this request");
  });
}

// httplib listens with a backlog of 5, fixed when it was built: 64 clients
// connecting at once would wait for SYN retries. A second listen() on the
// bound socket sets a deeper one.
void HubServer::DeepenBacklog()
{
  ::listen(svr_sock_, ListenBacklog);
}

// Memory a thread's heap keeps when freed, and the size from which a block
// is mapped on its own. glibc gives a heap's freed top back to the system
// at 128 KiB by default; with a hundred request threads allocating and
// freeing every request, that handing back (and each next touch of the
// pages) took a quarter of the request threads' processor time a run.
static const int KeptFreeBytes = 64 << 20;
static const int MappedFromBytes = 16 << 20;

void KeepFreedMemory()
{
  mallopt(M_TRIM_THRESHOLD, KeptFreeBytes);
  mallopt(M_MMAP_THRESHOLD, MappedFromBytes);
}

void SetUpServer(HubServer& server)
{
  size_t threads = (size_t)HubOptions.threads;
  server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  server.set_payload_max_length((size_t)HubOptions.maxBody);
  server.set_tcp_nodelay(true);   // headers and body go out at once, without waiting for a delayed ACK
  server.set_keep_alive_max_count(KeepAliveRequests);
  server.set_keep_alive_timeout(KeepAliveSeconds);
  server.set_read_timeout(ReadTimeoutSeconds);
  server.set_write_timeout(WriteTimeoutSeconds);
  server.readMs = (int)std::min(HubOptions.readSeconds, (long)MaxReadSeconds) * MillisecondsPerSecond;
  server.perAddress = HubOptions.trustProxy ? 0 : HubOptions.connectionsPerAddress;
  server.set_default_headers({{"Access-Control-Allow-Origin", "*"}});
  AnswerHttplibErrors(server);
  AddAccessLog(server);
}

static int Serve()
{
  std::string host;
  int port;
  if (!ListenAddress(&host, &port)) {
    fprintf(stderr, "tetherorb2-hub: --listen takes HOST:PORT\n");
    return 2;
  }
  long verifiers = HubOptions.verifiers > 0 ? HubOptions.verifiers : sysconf(_SC_NPROCESSORS_ONLN);
  // Runs at a verifier or waiting for one hold at most half the request threads.
  long queue = std::min(HubOptions.verifyQueue, std::max(0L, HubOptions.threads / 2 - verifiers));
  if (!StartVerifiers((int)verifiers, (int)queue)) {
    fprintf(stderr, "tetherorb2-hub: cannot start the verifier processes\n");
    return 1;
  }
  GatherWritesFrom(JudgementsAtVerifiers);   // a run leaving a verifier is written next
  ImportShippedLevels();
  LoadPageWords(HubOptions.locale);

  HubServer server;
  SetUpServer(server);
  AddApiRoutes(server);
  AddReportRoutes(server);
  AddTryRoutes(server);
  AddWebRoutes(server);
  AddFrontPage(server);
  AddLevelPages(server);
  AddPlayerPages(server);
  AddPictureRoutes(server);
  AddMetricsRoute(server);
  AddEtags(server);
  AddBodyGuards(server);

  if (port == 0)
    port = server.bind_to_any_port(host);
  else if (!server.bind_to_port(host, port))
    port = -1;
  if (port <= 0) {
    fprintf(stderr, "tetherorb2-hub: cannot listen on %s\n", HubOptions.listen.c_str());
    return 1;
  }
  server.DeepenBacklog();
  // SIGINT and SIGTERM stop the server from a thread of its own, outside any signal handler.
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGTERM);
  std::thread([&server, stops] {
    int sig;
    sigwait(&stops, &sig);
    // stop() does nothing before the server runs: a signal right after start must wait for it.
    while (!server.is_running())
      std::this_thread::sleep_for(std::chrono::milliseconds(StopPollMilliseconds));
    server.stop();
  }).detach();
  printf("tetherorb2-hub: serving on http://%s:%d/\n", host.c_str(), port);
  fflush(stdout);
  server.listen_after_bind();
  StopVerifiers();
  return 0;
}

static int Hide(bool hidden)
{
  bool changed = false;
  InTransaction(tx_write, [&](DbTx& tx) { changed = SetHidden(tx, HubOptions.levelId, hidden); });
  printf("%s: %s\n", HubOptions.levelId.c_str(),
         changed ? (hidden ? "hidden" : "no longer hidden") : (hidden ? "no such level" : "not a hidden level"));
  return changed ? 0 : 1;
}

static int Check()
{
  std::string report;
  int problems = 0;
  InTransaction(tx_read, [&](DbTx& tx) { problems = CheckCounts(tx, &report); });
  fputs(report.c_str(), stdout);
  printf("%d problems\n", problems);
  return problems ? 1 : 0;
}

static int Reports()
{
  std::string text;
  int levels = 0;
  InTransaction(tx_read, [&](DbTx& tx) { levels = ReportedLevels(tx, &text); });
  fputs(text.c_str(), stdout);
  printf("%d reported levels; %d players' reports hold a level\n", levels, HoldReporters);
  return 0;
}

static int ClearReportsCommand()
{
  bool had = false;
  InTransaction(tx_write, [&](DbTx& tx) { had = ClearReports(tx, HubOptions.levelId); });
  printf("%s: %s\n", HubOptions.levelId.c_str(), had ? "reports cleared" : "no reports");
  return had ? 0 : 1;
}

static int Backup()
{
  if (IsPostgresAddress(HubOptions.db)) {
    fprintf(stderr, "tetherorb2-hub: back up a PostgreSQL hub with pg_dump (see the README)\n");
    return 2;
  }
  std::string why;
  if (!BackupDatabase(HubOptions.db, HubOptions.backupFile, &why)) {
    fprintf(stderr, "tetherorb2-hub: backup: %s\n", why.c_str());
    return 1;
  }
  printf("tetherorb2-hub: %s copied into %s\n", HubOptions.db.c_str(), HubOptions.backupFile.c_str());
  return 0;
}

int RunCommand()
{
  if (HubOptions.command == command_help) {
    PrintHelp();
    return 0;
  }
  if (HubOptions.command == command_verifier)
    return RunVerifier();
  if (HubOptions.command == command_backup)
    return Backup();
  // Signals that stop the server are taken by its signal thread, so every
  // other thread starts with them blocked.
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGTERM);
  if (HubOptions.command == command_serve)
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
  std::string error;
  int connections = HubOptions.command == command_serve ? (int)HubOptions.dbConnections : 1;
  if (!OpenDatabase(HubOptions.db, connections, &error) || !PrepareSchema(&error)) {
    fprintf(stderr, "tetherorb2-hub: %s\n", error.c_str());
    return 1;
  }
  int code;
  try {
    code = HubOptions.command == command_serve           ? Serve()
           : HubOptions.command == command_check         ? Check()
           : HubOptions.command == command_reports       ? Reports()
           : HubOptions.command == command_clear_reports ? ClearReportsCommand()
                                                         : Hide(HubOptions.command == command_hide);
  } catch (const DbError& e) {
    fprintf(stderr, "tetherorb2-hub: %s\n", e.what());
    code = 1;
  }
  CloseDatabase();
  return code;
}
