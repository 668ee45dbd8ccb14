// hub_options: the hub's command line. One program-wide record, set once at
// start-up from a fixed table of options, each with its default and a line
// of help; --help prints the table with the defaults, limits included.
//   HubOptions                 the record
//   ParseOptions(argc, argv)   fills it; false (with a message on stderr) on a bad line
//   PrintHelp()                the usage and every option with its default
#pragma once

#include "hub/hub_game.h"

#include <string>

// What the program was asked to do.
enum {
  command_serve = 0,    // the HTTP service
  command_hide = 1,     // hide a level from everyone
  command_unhide = 2,   // show a hidden level again
  command_check = 3,    // compare the kept counts with the runs and ratings
  command_verifier = 4, // a verifier process (started by the hub itself)
  command_backup = 5,   // a consistent copy of a SQLite hub into a new file
  command_reports = 6,  // the levels players reported, with their counts
  command_clear_reports = 7,   // drop a level's reports, listing it again if they held it
  command_help = 8
};

// Each limit is the number of requests a minute; 0 turns it off.
struct RateLimits {
  long publishPerToken, publishPerAddress;
  long runsPerToken, runsPerAddress;
  long playersPerAddress;
  long reportsPerToken, reportsPerAddress;
  long triesPerToken, triesPerAddress;
};

struct HubOptionsRecord {
  int command;
  std::string levelId;         // of hide, unhide and clear-reports
  std::string backupFile;      // of backup
  std::string listen;          // HOST:PORT
  std::string db;              // a file path (SQLite) or postgresql://...
  std::string levels;          // the shipped levels, level1.dat .. level15.dat
  std::string solutions;       // their solutions level1.replay ..; empty: none
  std::string web;             // the browser build served under /play/
  std::string locale;          // the game's compiled catalogues, LANG/LC_MESSAGES/tetherorb2.mo
  long threads;                // request threads (one per open connection)
  long dbConnections;          // connections each copy keeps
  long verifiers;              // verifier processes
  long verifyQueue;            // judgements that may wait for a verifier
  long maxBody;                // bytes of a request body
  long maxPage;                // deepest page of the level list
  long maxRecords;             // the largest limit of a records request
  GameLimits game;
  RateLimits rates;            // after parsing, this copy's share of each
  long copies;                 // copies behind one load balancer, sharing the rate limits
  bool trustProxy;             // the client's address is the last of X-Forwarded-For
  bool noAccessLog;            // no line on stderr for each request
  std::string metricsToken;    // a Bearer token that may read /metrics from anywhere; empty: none
  long cacheMs;                // the longest a kept list page or leaderboard is answered (hub_cache); 0: none kept
  long connectionsPerAddress;  // connections one client address holds at once (hub_conns); 0: any number
  long readSeconds;            // the time to read a request, head and body, from its first byte
};

extern HubOptionsRecord HubOptions;

bool ParseOptions(int argc, char** argv);
void PrintHelp();

// Host and port of HubOptions.listen; false when it is not HOST:PORT.
bool ListenAddress(std::string* host, int* port);
