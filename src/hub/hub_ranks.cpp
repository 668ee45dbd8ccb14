// hub_ranks: the players at each best score, kept by triggers.
#include "hub/hub_ranks.h"

// runs_by_level (level_id, player_id) goes too: runs_once begins with the
// same columns and serves the same lookups, and every run touched both.
const char* const RankMigration[] = {
  "CREATE TABLE best_scores (level_id TEXT NOT NULL, score INTEGER NOT NULL, players BIGINT NOT NULL,"
  " PRIMARY KEY (level_id, score))",
  "INSERT INTO best_scores (level_id, score, players) SELECT level_id, score, COUNT(*) FROM bests"
  " GROUP BY level_id, score",
  "DROP INDEX runs_by_level",
  nullptr,
};

static const char* const SqliteTriggers[] = {
  "CREATE TRIGGER bests_made AFTER INSERT ON bests BEGIN"
  " INSERT INTO best_scores (level_id, score, players) VALUES (NEW.level_id, NEW.score, 1)"
  " ON CONFLICT (level_id, score) DO UPDATE SET players = players + 1; END",
  "CREATE TRIGGER bests_rescored AFTER UPDATE OF score ON bests WHEN OLD.score <> NEW.score BEGIN"
  " UPDATE best_scores SET players = players - 1 WHERE level_id = OLD.level_id AND score = OLD.score;"
  " INSERT INTO best_scores (level_id, score, players) VALUES (NEW.level_id, NEW.score, 1)"
  " ON CONFLICT (level_id, score) DO UPDATE SET players = players + 1; END",
  "CREATE TRIGGER bests_gone AFTER DELETE ON bests BEGIN"
  " UPDATE best_scores SET players = players - 1 WHERE level_id = OLD.level_id AND score = OLD.score; END",
  nullptr,
};

static const char* const PostgresTriggers[] = {
  "CREATE FUNCTION best_scores_follow() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN"
  " IF TG_OP = 'UPDATE' AND OLD.score = NEW.score THEN RETURN NULL; END IF;"
  " IF TG_OP <> 'INSERT' THEN"
  "  UPDATE best_scores SET players = players - 1 WHERE level_id = OLD.level_id AND score = OLD.score;"
  " END IF;"
  " IF TG_OP <> 'DELETE' THEN"
  "  INSERT INTO best_scores (level_id, score, players) VALUES (NEW.level_id, NEW.score, 1)"
  "  ON CONFLICT (level_id, score) DO UPDATE SET players = best_scores.players + 1;"
  " END IF;"
  " RETURN NULL; END $$",
  "CREATE TRIGGER bests_scored AFTER INSERT OR DELETE OR UPDATE OF score ON bests"
  " FOR EACH ROW EXECUTE FUNCTION best_scores_follow()",
  nullptr,
};

void AddRankTriggers(DbTx& tx)
{
  for (const char* const* s = UsesPostgres() ? PostgresTriggers : SqliteTriggers; *s; s++)
    tx.Execute(*s);
}

int CheckRanks(DbTx& tx, std::string* report)
{
  DbRows wrong;
  tx.Run("SELECT s.level_id, s.score FROM best_scores s WHERE s.players <>"
         " (SELECT COUNT(*) FROM bests b WHERE b.level_id = s.level_id AND b.score = s.score)"
         " UNION SELECT b.level_id, b.score FROM bests b WHERE NOT EXISTS"
         " (SELECT 1 FROM best_scores s WHERE s.level_id = b.level_id AND s.score = b.score)",
         {}, &wrong);
  for (int i = 0; i < wrong.count; i++)
    *report += "level " + wrong.At(i, 0) + ", score " + wrong.At(i, 1) +
               ": the players counted at it are not its bests\n";
  return wrong.count;
}
