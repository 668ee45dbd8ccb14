// hub_store: what the hub keeps and how each request changes it, in SQL
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
//   FindPlayer(tx, tokenHash)      the token's player; Refusal 401 for an unknown token
//   FindPlayerAndLevel(tx, tokenHash, id, body)   the same, and the listed level's canonical
//                                  text, in one statement; Refusal 404 for a level not listed
//   RegisterPlayer(tx, name, tokenHash)   201, or 200 when the token already has that name
//   PublishLevel(tx, player, verdict)     the level and its first run; 201, or 200 with the
//                                  author run and nothing recorded when it is listed
//   ImportShippedLevel(tx, slot, verdict) a shipped level and, when it ran, its author run
//   LevelPage(tx, sort, page)      20 levels of the list
//   LevelRow(rows, i)              row i of a query of LEVEL_ROW_COLUMNS as the answers give a level
//   LevelBody(tx, id)              a listed level's canonical text
//   WithdrawLevel(tx, player, id)  its author takes it off the hub
//   SetHidden(tx, id, hidden)      the operator hides a level, or undoes that: a level its
//                                  author had withdrawn stays withdrawn
//   RecordRun(tx, player, id, verdict)    stores a finishing run, keeps the player's best
//   LevelRecords(tx, id, limit, player)   the leaderboard, with the player's own rank
//   PlayerStanding(tx, id, playerId)      the player's {rank, score, run} on the level, or null
//   TokenStanding(tx, id, tokenHash)      the same for the token's player; Refusal 401 for an unknown token
//   RunReplay(tx, runId)           a run's replay text
//   RateLevel(tx, player, id, up)  a thumbs-up from a player who finished the level
//   CheckCounts(tx)                levels, bests and players at a score (hub_ranks.h) whose kept
//                                  counts disagree with their rows
#pragma once

#include "hub/hub_db.h"
#include "hub/hub_game.h"

#include <nlohmann/json.hpp>
#include <string>

const int LevelsPerPage = 20;
const char ShippedAuthor[] = "Tetherorb 2";   // the player behind the shipped levels' author runs

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
Player FindPlayerAndLevel(DbTx& tx, const std::string& tokenHash, const std::string& id, std::string* body);
Answer RegisterPlayer(DbTx& tx, const std::string& name, const std::string& tokenHash);

Answer PublishLevel(DbTx& tx, const Player& player, const Verdict& v);
void ImportShippedLevel(DbTx& tx, int slot, const Verdict& v);
// A level as every answer gives it: the columns of LEVEL_ROW_COLUMNS
// selected FROM LEVEL_ROW_TABLES (levels l with its author p), first in the
// row. tried and finishes count the players besides its author who played
// it (a try or a run), and with a finishing run; clear_rate is finishes / tried, 0 when untried.
#define LEVEL_ROW_COLUMNS                                                                                   \
  "l.id, l.title, p.name, l.width, l.height, l.plays, l.tried, l.cleared, l.rating, l.record, l.author_score," \
  " l.shipped, l.published_ms"
#define LEVEL_ROW_TABLES " FROM levels l JOIN players p ON p.id = l.author_id"
nlohmann::json LevelRow(const DbRows& r, int i);

Answer LevelPage(DbTx& tx, int sort, long page);
std::string LevelBody(DbTx& tx, const std::string& id);
void WithdrawLevel(DbTx& tx, const Player& player, const std::string& id);
bool SetHidden(DbTx& tx, const std::string& id, bool hidden);

// Stores a finishing run of a listed level: the run, the player's best and
// the level's counts; returns the run's id. The same replay of the same player
// and level sent again records nothing and returns the stored run's id
// (hub_run_once.h). Refusal 404 when the level is not listed.
long long StoreRun(DbTx& tx, const Player& player, const std::string& id, const Verdict& v, long long now);
Answer RecordRun(DbTx& tx, const Player& player, const std::string& id, const Verdict& v);
Answer LevelRecords(DbTx& tx, const std::string& id, long limit, const Player* player);
nlohmann::json PlayerStanding(DbTx& tx, const std::string& id, long long playerId);
nlohmann::json TokenStanding(DbTx& tx, const std::string& id, const std::string& tokenHash);
std::string RunReplay(DbTx& tx, long long runId);
Answer RateLevel(DbTx& tx, const Player& player, const std::string& id, bool up);
int CheckCounts(DbTx& tx, std::string* report);

// Seconds since 1970 as "YYYY-MM-DDTHH:MM:SSZ".
std::string IsoDate(long long seconds);
