// hub_ranks: a player's rank on a leaderboard without counting the players
// above them one by one. Counting the bests of a level above a score walked
// the score index entry by entry: on a level of ten thousand players it was
// most of what a run cost. The best_scores table keeps, for each level and
// score, how many players have that score as their best; a rank adds up the
// rows above the score, at most one a distinct score. Triggers on bests keep
// it, so every write of a best (a run, a migration, an operator's SQL)
// counts, and on PostgreSQL each count changes under the lock of the best's row.
//   RankMigration        the table, filled from the bests, and its triggers' statements (AddRankTriggers)
//   AddRankTriggers(tx)  the triggers, in each database's own language
//   PLAYERS_ABOVE(level, score)   SQL: the players whose best on the level beats the score
//   CheckRanks(tx, report)        counts that disagree with the bests; the number of them
#pragma once

#include "hub/hub_db.h"

#include <string>

extern const char* const RankMigration[];

void AddRankTriggers(DbTx& tx);

// Level and score are SQL expressions; equal scores share a rank, so a rank is this plus one.
#define PLAYERS_ABOVE(level, score) \
  "(SELECT COALESCE(SUM(a.players), 0) FROM best_scores a WHERE a.level_id = " level " AND a.score > " score ")"

int CheckRanks(DbTx& tx, std::string* report);
