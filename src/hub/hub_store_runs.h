// hub_store_runs: the runs the hub keeps: a finishing run, the player's best
// and the level's counts, the leaderboard, replays, ratings and the check of
// the kept counts. Every operation but RecordRun runs inside the caller's
// transaction, and each throws a Refusal for a request it will not carry
// out (hub_store.h).
//   StoreRun(tx, player, id, verdict, now)  a finishing run and what it counts; its id
//   RecordRun(player, id, verdict)  stores a finishing run and keeps the player's best, in
//                                  transactions of its own; the answer with the standing
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
#include "hub/hub_store.h"

#include <nlohmann/json.hpp>
#include <string>

// Stores a finishing run of a listed level: the run, the player's best and
// the level's counts; returns the run's id. The same replay of the same player
// and level sent again records nothing and returns the stored run's id
// (hub_run_once.h). Refusal 404 when the level is not listed.
long long StoreRun(DbTx& tx, const Player& player, const std::string& id, const Verdict& v, long long now);
Answer RecordRun(const Player& player, const std::string& id, const Verdict& v);
Answer LevelRecords(DbTx& tx, const std::string& id, long limit, const Player* player);
nlohmann::json PlayerStanding(DbTx& tx, const std::string& id, long long playerId);
nlohmann::json TokenStanding(DbTx& tx, const std::string& id, const std::string& tokenHash);
std::string RunReplay(DbTx& tx, long long runId);
Answer RateLevel(DbTx& tx, const Player& player, const std::string& id, bool up);
int CheckCounts(DbTx& tx, std::string* report);
