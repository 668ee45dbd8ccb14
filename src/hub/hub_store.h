// hub_store: what the hub keeps, its players, and what its level and run
// stores (hub_store_levels.h, hub_store_runs.h) share, in SQL
// that SQLite and PostgreSQL both take (and, for a run, one statement of
// PostgreSQL's own that saves it round trips). Every operation runs inside the
// caller's transaction (hub_db's InTransaction) and throws a Refusal for a
// request it will not carry out, so a refused request changes nothing.
//
// The tables (hub_schema.cpp makes them): players (name, its lower-case key,
// the token's hash), levels (canonical text, title and its search key, size,
// author, shipped slot, state, whether its author withdrew it, whether
// reports hold it, and the counts the lists sort and filter by: plays,
// finishes, tried and cleared (by players besides its author), rating,
// record), runs (every run recorded, once:
// with its replay and the replay's hash), tries (hub_tries.h), bests (each player's
// best run on a level, the leaderboard; best_scores counts the players at
// each score, hub_ranks.h), ratings (one thumbs-up per player and level),
// pictures (hub_picture.h) and reports (hub_reports.h). A level's counts
// change in the same transaction as the rows they count.
//
//   Player                         a registered player
//   Answer                         a JSON answer and its status
//   level_listed, level_withdrawn, level_hidden   a level's state
//   FindPlayer(tx, tokenHash)      the token's player; Refusal 401 for an unknown token
//   RegisterPlayer(tx, name, tokenHash)   201, or 200 when the token already has that name
//   CountTry(tx, player, id, now)   keeps the player's try (hub_tries.h); true when it is their
//                                  first (the caller adds it to the level's tried unless they
//                                  are its author)
//   IsoDate(seconds)               seconds since 1970 as "YYYY-MM-DDTHH:MM:SSZ"
#pragma once

#include "hub/hub_db.h"

#include <nlohmann/json.hpp>
#include <string>

enum { level_listed = 0, level_withdrawn = 1, level_hidden = 2 };

struct Player {
  long long id;
  std::string name;
};

// A JSON answer and its status.
struct Answer {
  int status;
  nlohmann::json body;
};

Player FindPlayer(DbTx& tx, const std::string& tokenHash);
Answer RegisterPlayer(DbTx& tx, const std::string& name, const std::string& tokenHash);
bool CountTry(DbTx& tx, const Player& player, const std::string& id, long long now);

// Seconds since 1970 as "YYYY-MM-DDTHH:MM:SSZ".
std::string IsoDate(long long seconds);
