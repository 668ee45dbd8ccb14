// hub_options: the option table, its parser and its help.
#include "hub/hub_options.h"

#include "game/files/replay.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#ifndef TETHERORB_HUB_LOCALE
#define TETHERORB_HUB_LOCALE "/usr/share/locale"
#endif
#ifndef TETHERORB_HUB_SHARED_LEVELS
#define TETHERORB_HUB_SHARED_LEVELS "/usr/share/games/tetherorb2/Levels"
#endif

static const char RepositoryLevels[] = "Levels";
static const char RepositorySolutions[] = "tests/solutions";
static const char BesideProgramLocale[] = "locale";   // the build folder's catalogues, beside the hub

HubOptionsRecord HubOptions = {
  command_serve, "", "", "127.0.0.1:8080", "hub-data/hub.sqlite", "", "", "build-web", "",
  128,      // threads
  8,        // database connections
  0,        // verifiers: one per core
  32,       // places in the queue in front of the verifiers
  524288,   // body bytes
  500,      // pages of 20 levels
  100,      // records in one answer
  {131072, 100000, 262144, 18750, 16384},   // level bytes and cells; replay bytes, frames (5 minutes), runs
  {10, 30, 60, 300, 10, 10, 30, 60, 300},   // a minute: publishing, runs, new players, reports, tries
  1,        // copies sharing the rate limits
  false,    // trust the proxy
  false,    // no access log
  "",       // metrics token
  1000,     // milliseconds a kept answer lives
  32,       // connections an address holds at once: a quarter of the threads
  30,       // seconds to read a request
};

enum { option_text, option_number, option_flag };

struct OptionEntry {
  const char* name;
  int kind;
  void* value;
  long least;      // smallest number allowed
  const char* help;
};

static const OptionEntry OptionTable[] = {
  {"--listen", option_text, &HubOptions.listen, 0, "HOST:PORT to serve on"},
  {"--db", option_text, &HubOptions.db, 0, "a file path (SQLite) or postgresql://USER@HOST/NAME"},
  {"--levels", option_text, &HubOptions.levels, 0, "folder of the shipped level1.dat .. level15.dat"},
  {"--solutions", option_text, &HubOptions.solutions, 0,
   "folder of their levelN.replay, recorded as the shipped levels' author runs; \"\" for none"},
  {"--web", option_text, &HubOptions.web, 0, "folder of the browser build served under /play/"},
  {"--locale", option_text, &HubOptions.locale, 0,
   "folder of the game's catalogues for the pages' languages; default: locale/ beside the program, else installed"},
  {"--threads", option_number, &HubOptions.threads, 1, "request threads, one per open connection"},
  {"--db-connections", option_number, &HubOptions.dbConnections, 1, "database connections of this copy"},
  {"--verifiers", option_number, &HubOptions.verifiers, 0, "verifier processes re-running replays; 0: one per core"},
  {"--verify-queue", option_number, &HubOptions.verifyQueue, 0,
   "runs that may wait for a verifier (at most half the threads); past them 503 at once"},
  {"--max-body", option_number, &HubOptions.maxBody, 1, "bytes of a request body"},
  {"--max-level-bytes", option_number, &HubOptions.game.maxLevelBytes, 1, "bytes of a level's text"},
  {"--max-level-cells", option_number, &HubOptions.game.maxLevelCells, 1, "cells of a level, width x height"},
  {"--max-replay-bytes", option_number, &HubOptions.game.maxReplayBytes, 1, "bytes of a replay's text"},
  {"--max-replay-frames", option_number, &HubOptions.game.maxReplayFrames, 1, "frames of a replay (62.5 a second)"},
  {"--max-replay-runs", option_number, &HubOptions.game.maxReplayRuns, 1, "lines of a replay, at most 65536"},
  {"--max-page", option_number, &HubOptions.maxPage, 1, "deepest page of the level list"},
  {"--max-records", option_number, &HubOptions.maxRecords, 1, "largest limit of a records request"},
  {"--rate-publish-token", option_number, &HubOptions.rates.publishPerToken, 0, "levels published a minute per token"},
  {"--rate-publish-address", option_number, &HubOptions.rates.publishPerAddress, 0,
   "levels published a minute per address"},
  {"--rate-runs-token", option_number, &HubOptions.rates.runsPerToken, 0, "runs recorded a minute per token"},
  {"--rate-runs-address", option_number, &HubOptions.rates.runsPerAddress, 0, "runs recorded a minute per address"},
  {"--rate-players-address", option_number, &HubOptions.rates.playersPerAddress, 0,
   "players registered a minute per address"},
  {"--copies", option_number, &HubOptions.copies, 1,
   "copies of the hub behind one load balancer: each allows its share of every rate limit"},
  {"--rate-reports-token", option_number, &HubOptions.rates.reportsPerToken, 0, "levels reported a minute per token"},
  {"--rate-reports-address", option_number, &HubOptions.rates.reportsPerAddress, 0,
   "levels reported a minute per address"},
  {"--rate-tries-token", option_number, &HubOptions.rates.triesPerToken, 0,
   "unfinished runs counted a minute per token"},
  {"--rate-tries-address", option_number, &HubOptions.rates.triesPerAddress, 0,
   "unfinished runs counted a minute per address"},
  {"--trust-proxy", option_flag, &HubOptions.trustProxy, 0,
   "take the client's address from the last entry of the last X-Forwarded-For line (behind a proxy only)"},
  {"--no-access-log", option_flag, &HubOptions.noAccessLog, 0, "write no line on stderr for each request"},
  {"--metrics-token", option_text, &HubOptions.metricsToken, 0,
   "Bearer token that reads GET /metrics from anywhere; \"\": loopback only, never through a proxy"},
  {"--cache-ms", option_number, &HubOptions.cacheMs, 0,
   "milliseconds a list page or leaderboard is answered from memory; bounds how late other copies' writes show; 0: never"},
  {"--connections-per-address", option_number, &HubOptions.connectionsPerAddress, 0,
   "connections one client address may hold at once; past them 503 at once; 0: any number;"
   " not applied with --trust-proxy, where the proxy holds the connections"},
  {"--read-seconds", option_number, &HubOptions.readSeconds, 1,
   "seconds (at most 3600) in which a request, head and body, is read from its first byte, or the connection is closed"},
};
static const int OptionCount = sizeof(OptionTable) / sizeof(OptionTable[0]);

// Each copy behind a balancer counts on its own, so each allows the whole
// limit divided by the copies, rounded down: together they never allow more
// than the limit. A limit below the copies would leave a copy nothing.
static bool ShareRateLimits()
{
  long* const limits[] = {&HubOptions.rates.publishPerToken, &HubOptions.rates.publishPerAddress,
                          &HubOptions.rates.runsPerToken, &HubOptions.rates.runsPerAddress,
                          &HubOptions.rates.playersPerAddress,
                          &HubOptions.rates.reportsPerToken, &HubOptions.rates.reportsPerAddress,
                          &HubOptions.rates.triesPerToken, &HubOptions.rates.triesPerAddress};
  static_assert(sizeof limits / sizeof limits[0] == sizeof HubOptions.rates / sizeof(long),
                "every rate limit is shared among the copies");
  for (long* limit : limits) {
    if (*limit > 0 && *limit < HubOptions.copies) {
      fprintf(stderr, "tetherorb2-hub: a rate limit of %ld is less than one request for each of the %ld --copies\n",
              *limit, HubOptions.copies);
      return false;
    }
    *limit /= HubOptions.copies;
  }
  return true;
}

static bool IsFile(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Run from the repository, the hub finds its levels and their solutions there;
// installed, the game's shared levels.
static void ChooseFolders()
{
  bool repository = IsFile(std::string(RepositoryLevels) + "/level1.dat");
  HubOptions.levels = repository ? RepositoryLevels : TETHERORB_HUB_SHARED_LEVELS;
  HubOptions.solutions = repository && IsFile(std::string(RepositorySolutions) + "/level1.replay") ? RepositorySolutions : "";
  // Built, the catalogues are beside the program, as for the game; installed, in the system's folder.
  char program[4096];
  ssize_t n = readlink("/proc/self/exe", program, sizeof program - 1);
  std::string folder = n > 0 ? std::string(program, (size_t)n) : "";
  folder = folder.substr(0, folder.rfind('/') + 1) + BesideProgramLocale;
  struct stat st;
  HubOptions.locale = n > 0 && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? folder : TETHERORB_HUB_LOCALE;
}

static const OptionEntry* FindOption(const char* name)
{
  for (int i = 0; i < OptionCount; i++)
    if (strcmp(OptionTable[i].name, name) == 0)
      return &OptionTable[i];
  return nullptr;
}

static bool SetOption(const OptionEntry* o, const char* text)
{
  if (o->kind == option_text) {
    *(std::string*)o->value = text;
    return true;
  }
  char* end;
  errno = 0;
  long n = strtol(text, &end, 10);
  if (end == text || *end || errno || n < o->least) {
    fprintf(stderr, "tetherorb2-hub: %s takes a whole number from %ld\n", o->name, o->least);
    return false;
  }
  *(long*)o->value = n;
  return true;
}

static bool SetCommand(const char* word, const char* next)
{
  static const char* const Names[] = {"serve", "hide", "unhide", "check", "verifier", "backup", "reports",
                                      "clear-reports"};
  static_assert(sizeof Names / sizeof Names[0] == command_help, "a word for each command but help");
  for (int c = 0; c < (int)(sizeof Names / sizeof Names[0]); c++)
    if (strcmp(word, Names[c]) == 0) {
      HubOptions.command = c;
      if (c == command_hide || c == command_unhide || c == command_backup || c == command_clear_reports) {
        if (!next) {
          fprintf(stderr, "tetherorb2-hub: %s takes a %s\n", word, c == command_backup ? "file" : "level id");
          return false;
        }
        (c == command_backup ? HubOptions.backupFile : HubOptions.levelId) = next;
      }
      return true;
    }
  fprintf(stderr, "tetherorb2-hub: unknown command or option %s (see --help)\n", word);
  return false;
}

bool ParseOptions(int argc, char** argv)
{
  ChooseFolders();
  bool commandSeen = false;
  for (int i = 1; i < argc; i++) {
    const char* a = argv[i];
    if (strcmp(a, "--help") == 0 || strcmp(a, "-h") == 0) {
      HubOptions.command = command_help;
      return true;
    }
    const OptionEntry* o = FindOption(a);
    if (o && o->kind == option_flag) {
      *(bool*)o->value = true;
    } else if (o) {
      if (i + 1 >= argc) {
        fprintf(stderr, "tetherorb2-hub: %s needs a value\n", a);
        return false;
      }
      if (!SetOption(o, argv[++i]))
        return false;
    } else if (!commandSeen && a[0] != '-') {
      if (!SetCommand(a, i + 1 < argc ? argv[i + 1] : nullptr))
        return false;
      if (HubOptions.command == command_hide || HubOptions.command == command_unhide ||
          HubOptions.command == command_backup || HubOptions.command == command_clear_reports)
        i++;
      commandSeen = true;
    } else {
      fprintf(stderr, "tetherorb2-hub: unknown option %s (see --help)\n", a);
      return false;
    }
  }
  if (HubOptions.game.maxReplayRuns > MaxReplayRuns)
    HubOptions.game.maxReplayRuns = MaxReplayRuns;   // the game's replay reader holds no more
  return ShareRateLimits();
}

void PrintHelp()
{
  printf("Usage: tetherorb2-hub [serve] [OPTIONS]      the level hub's HTTP service\n"
         "       tetherorb2-hub hide LEVELID [--db DB]  hide a level from every list and request\n"
         "       tetherorb2-hub unhide LEVELID [--db DB]\n"
         "       tetherorb2-hub check [--db DB]         compare the kept counts with the runs; 1 on a mismatch\n"
         "       tetherorb2-hub reports [--db DB]       the levels players reported, by reason; held: kept off the lists\n"
         "       tetherorb2-hub clear-reports LEVELID [--db DB]  drop a level's reports, listing it again\n"
         "       tetherorb2-hub backup FILE [--db DB]   copy a SQLite hub, even while it serves, into a new FILE\n\n"
         "Options (default in brackets):\n");
  for (int i = 0; i < OptionCount; i++) {
    const OptionEntry* o = &OptionTable[i];
    char value[600];
    if (o->kind == option_text)
      snprintf(value, sizeof value, "\"%s\"", ((std::string*)o->value)->c_str());
    else if (o->kind == option_number)
      snprintf(value, sizeof value, "%ld", *(long*)o->value);
    else
      snprintf(value, sizeof value, "%s", *(bool*)o->value ? "on" : "off");
    printf("  %-24s %s [%s]\n", o->name, o->help, value);
  }
  printf("\nThe rate limits count requests a minute for each token or address, shared evenly by\n"
         "the --copies; 0 turns a limit off. Fixed: 20 levels a page, names of 3 to 24 printable ASCII\n"
         "characters, tokens of 32 to 128 characters.\n");
}

bool ListenAddress(std::string* host, int* port)
{
  size_t colon = HubOptions.listen.rfind(':');
  if (colon == std::string::npos || colon == 0)
    return false;
  char* end;
  long p = strtol(HubOptions.listen.c_str() + colon + 1, &end, 10);
  if (*end || end == HubOptions.listen.c_str() + colon + 1 || p < 0 || p > 65535)
    return false;
  *host = HubOptions.listen.substr(0, colon);
  *port = (int)p;
  return true;
}
