// hub_run_once: each run stored once, by its replay's hash.
#include "hub/hub_run_once.h"

#include "hub/hub_ids.h"
#include "hub/hub_refusal.h"

static const int HashBatchRows = 200;   // old runs read at once while hashing them

// The copies a sent-again run made since the last clean-up go the way the
// earlier ones went (a copy that a best or an author run points to stays),
// and plays counts the runs left; the hashes are filled in by HashOldRuns.
const char* const RunOnceMigration[] = {
  "ALTER TABLE runs ADD COLUMN replay_hash TEXT",
  "DELETE FROM runs WHERE EXISTS (SELECT 1 FROM runs e WHERE e.level_id = runs.level_id"
  " AND e.player_id = runs.player_id AND e.replay = runs.replay AND e.id < runs.id)"
  " AND NOT EXISTS (SELECT 1 FROM bests b WHERE b.run_id = runs.id)"
  " AND NOT EXISTS (SELECT 1 FROM levels l WHERE l.author_run = runs.id)",
  "UPDATE levels SET plays = (SELECT COUNT(*) FROM runs r WHERE r.level_id = levels.id)",
  "CREATE UNIQUE INDEX runs_once ON runs (level_id, player_id, replay_hash)",
  nullptr,
};

std::string ReplayHash(const std::string& replay)
{
  return TokenHash(replay);   // the same hex SHA-256
}

long long SameRun(DbTx& tx, long long playerId, const std::string& levelId, const std::string& hash)
{
  DbRows r;
  tx.Run("SELECT r.id FROM runs r JOIN levels l ON l.id = r.level_id WHERE r.level_id = ? AND r.player_id = ?"
         " AND r.replay_hash = ? AND l.state = 0",
         {Text(levelId), Num(playerId), Text(hash)}, &r);
  if (r.count == 0)
    throw Refusal{404, "no level " + levelId};
  return r.Number(0, 0);
}

void HashOldRuns(DbTx& tx)
{
  long long after = 0;
  for (;;) {
    DbRows r;
    tx.Run("SELECT id, level_id, player_id, replay FROM runs WHERE replay_hash IS NULL AND id > ? ORDER BY id LIMIT ?",
           {Num(after), Num(HashBatchRows)}, &r);
    for (int i = 0; i < r.count; i++) {
      after = r.Number(i, 0);
      std::string hash = ReplayHash(r.At(i, 3));
      DbRows same;
      tx.Run("SELECT 1 FROM runs WHERE level_id = ? AND player_id = ? AND replay_hash = ?",
             {Text(r.At(i, 1)), Num(r.Number(i, 2)), Text(hash)}, &same);
      if (same.count)
        hash += "/" + std::to_string(after);
      tx.Run("UPDATE runs SET replay_hash = ? WHERE id = ?", {Text(hash), Num(after)});
    }
    if (r.count < HashBatchRows)
      return;
  }
}
