// hub_run_once: a run is stored once. The game keeps a run it sent until
// the hub answers, so a copy that stored a run and died (or lost the
// connection) before answering gets the same run again. Runs carry the hex
// SHA-256 of their replay, unique per player and level (the runs_once
// index), so the repeat records nothing and is answered as the first was.
//   RunOnceMigration       the migration that adds replay_hash and its index
//   ReplayHash(replay)     64 hex digits
//   SameRun(tx, player, level, hash)   the run already stored with that hash;
//                          Refusal 404 when the level is not listed
//   HashOldRuns(tx)        gives the runs stored before the migration their hash: the
//                          oldest of a set of copies the plain hash, any later one kept
//                          (a best or an author run) its hash followed by "/" and its id
#pragma once

#include "hub/hub_db.h"

#include <string>

extern const char* const RunOnceMigration[];

std::string ReplayHash(const std::string& replay);
long long SameRun(DbTx& tx, long long playerId, const std::string& levelId, const std::string& hash);
void HashOldRuns(DbTx& tx);
