// hub_store_runs: runs, leaderboards, replays, ratings and the count check.
#include "hub/hub_ranks.h"
#include "hub/hub_refusal.h"
#include "hub/hub_run_once.h"
#include "hub/hub_store_runs.h"

#include <ctime>

using nlohmann::json;

long long StoreRun(DbTx& tx, const Player& player, const std::string& id, const Verdict& v, long long now)
{
  DbRows r;
  std::string hash = ReplayHash(v.replay);
  tx.Run("INSERT INTO runs (level_id, player_id, score, frames, created, replay, replay_hash) VALUES (?, ?, ?, ?, ?, ?, ?)"
         " ON CONFLICT (level_id, player_id, replay_hash) DO NOTHING RETURNING id",
         {Text(id), Num(player.id), Num(v.score), Num(v.frames), Num(now), Text(v.replay), Text(hash)}, &r);
  if (r.count == 0)   // sent again: stored already, with its best and counts
    return SameRun(tx, player.id, id, hash);
  long long run = r.Number(0, 0);
  // Each statement holds on its own under concurrent runs of the same
  // player: the insert makes the best once, the update only ever raises it.
  bool first = tx.Run("INSERT INTO bests (level_id, player_id, run_id, score, achieved) VALUES (?, ?, ?, ?, ?)"
                      " ON CONFLICT (level_id, player_id) DO NOTHING",
                      {Text(id), Num(player.id), Num(run), Num(v.score), Num(now)}) == 1;
  if (!first)
    tx.Run("UPDATE bests SET run_id = ?, score = ?, achieved = ? WHERE level_id = ? AND player_id = ? AND score < ?",
           {Num(run), Num(v.score), Num(now), Text(id), Num(player.id), Num(v.score)});
  // A finishing run is a try too: tried grows on the player's first try, sent or run.
  bool firstTry = CountTry(tx, player, id, now);
  // Last, so that the level's row, which every run of it updates, is held the shortest.
  if (tx.Run("UPDATE levels SET plays = plays + 1, finishes = finishes + ?,"
             " tried = tried + CASE WHEN author_id = ? THEN 0 ELSE ? END,"
             " cleared = cleared + CASE WHEN author_id = ? THEN 0 ELSE ? END,"
             " record = CASE WHEN record IS NULL OR record < ? THEN ? ELSE record END WHERE id = ? AND state = 0",
             {Num(first ? 1 : 0), Num(player.id), Num(firstTry ? 1 : 0), Num(player.id), Num(first ? 1 : 0),
              Num(v.score), Num(v.score), Text(id)}) != 1)
    throw Refusal{404, "no level " + id};
  return run;
}

// The player's best on the level as {rank, score, run}, or null when there is none.
json PlayerStanding(DbTx& tx, const std::string& id, long long playerId)
{
  DbRows best, better;
  tx.Run("SELECT score, run_id FROM bests WHERE level_id = ? AND player_id = ?", {Text(id), Num(playerId)}, &best);
  if (best.count == 0)
    return json();
  // Equal scores share a rank.
  tx.Run("SELECT " PLAYERS_ABOVE("?", "?"), {Text(id), Num(best.Number(0, 0))}, &better);
  return json{{"rank", better.Number(0, 0) + 1}, {"score", best.Number(0, 0)}, {"run", best.Number(0, 1)}};
}

json TokenStanding(DbTx& tx, const std::string& id, const std::string& tokenHash)
{
  DbRows r;
  // One statement for the player and the standing: a leaderboard read with a token costs this alone.
  tx.Run("SELECT b.score, b.run_id, " PLAYERS_ABOVE("?", "b.score")
         " FROM players p LEFT JOIN bests b ON b.level_id = ? AND b.player_id = p.id WHERE p.token_hash = ?",
         {Text(id), Text(id), Text(tokenHash)}, &r);
  if (r.count == 0)
    throw Refusal{401, "unknown token: register it first with POST /api/v1/players"};
  if (r.IsNull(0, 0))
    return json();
  return json{{"rank", r.Number(0, 2) + 1}, {"score", r.Number(0, 0)}, {"run", r.Number(0, 1)}};
}

// On PostgreSQL each statement is a round trip to the server, and StoreRun
// with the standing and the record after it took eight. There one statement
// does what they do, in parts that each hold under concurrent runs as
// StoreRun's statements do: the run (once, by its replay's hash), the best
// (made, or raised by a better score), the try, and the level's counts last.
// Every part sees the tables as they were before the statement, so the
// standing comes from the player's best before it and the new score. No
// run comes back when it was sent before or the level is not listed:
// StoreRun then tells which. The statement is a transaction of its own,
// one round trip instead of three with BEGIN and COMMIT, so the level's
// row is locked where the run is inserted: a withdrawal cannot come
// between the run going in and the level counting it.
static const char RecordRunStatement[] =
  "WITH r AS (INSERT INTO runs (level_id, player_id, score, frames, created, replay, replay_hash)"
  " SELECT id, $2::bigint, $3::integer, $4::integer, $5::bigint, $6::text, $7::text FROM levels"
  " WHERE id = $1::text AND state = 0 FOR UPDATE ON CONFLICT (level_id, player_id, replay_hash) DO NOTHING RETURNING id),"
  " b AS (INSERT INTO bests (level_id, player_id, run_id, score, achieved)"
  " SELECT $1::text, $2::bigint, id, $3::integer, $5::bigint FROM r ON CONFLICT (level_id, player_id)"
  " DO UPDATE SET run_id = excluded.run_id, score = excluded.score, achieved = excluded.achieved"
  " WHERE bests.score < excluded.score RETURNING xmax = 0 AS made),"
  " t AS (INSERT INTO tries (level_id, player_id, created) SELECT $1::text, $2::bigint, $5::bigint FROM r"
  " ON CONFLICT (level_id, player_id) DO NOTHING RETURNING 1),"
  " f AS (SELECT (SELECT COUNT(*) FROM b WHERE made) AS first, (SELECT COUNT(*) FROM t) AS first_try),"
  " l AS (UPDATE levels SET plays = plays + 1, finishes = finishes + f.first,"
  " tried = tried + CASE WHEN author_id = $2::bigint THEN 0 ELSE f.first_try END,"
  " cleared = cleared + CASE WHEN author_id = $2::bigint THEN 0 ELSE f.first END,"
  " record = CASE WHEN record IS NULL OR record < $3::integer THEN $3::integer ELSE record END"
  " FROM f WHERE id = $1::text AND state = 0 AND EXISTS (SELECT 1 FROM r) RETURNING record),"
  " o AS (SELECT GREATEST($3::integer, (SELECT score FROM bests WHERE level_id = $1::text AND player_id = $2::bigint))"
  " AS best)"
  " SELECT (SELECT id FROM r), (SELECT record FROM l), o.best,"
  " " PLAYERS_ABOVE("$1::text", "o.best") " FROM o";

static bool RecordRunInOne(DbTx& tx, const Player& player, const std::string& id, const Verdict& v, Answer* a)
{
  DbRows r;
  tx.Run(RecordRunStatement, {Text(id), Num(player.id), Num(v.score), Num(v.frames), Num(time(nullptr)),
                              Text(v.replay), Text(ReplayHash(v.replay))}, &r);
  if (r.IsNull(0, 0))
    return false;
  *a = Answer{201, json{{"run", r.Number(0, 0)}, {"score", v.score}, {"best", r.Number(0, 2)},
                        {"rank", r.Number(0, 3) + 1}, {"record", r.Number(0, 1)}}};
  return true;
}

static Answer StoreAndAnswer(DbTx& tx, const Player& player, const std::string& id, const Verdict& v)
{
  long long run = StoreRun(tx, player, id, v, time(nullptr));
  // The record, the player's best and its rank in one statement.
  DbRows r;
  tx.Run("SELECT l.record, b.score, " PLAYERS_ABOVE("l.id", "b.score") " FROM levels l"
         " LEFT JOIN bests b ON b.level_id = l.id AND b.player_id = ? WHERE l.id = ?",
         {Num(player.id), Text(id)}, &r);
  bool best = !r.IsNull(0, 1);
  return Answer{201, json{{"run", run}, {"score", v.score}, {"best", best ? json(r.Number(0, 1)) : json()},
                          {"rank", best ? json(r.Number(0, 2) + 1) : json()}, {"record", r.Number(0, 0)}}};
}

Answer RecordRun(const Player& player, const std::string& id, const Verdict& v)
{
  Answer a;
  bool stored = false;
  if (UsesPostgres())
    InTransaction(tx_single, [&](DbTx& tx) { stored = RecordRunInOne(tx, player, id, v, &a); });
  if (!stored)
    InTransaction(tx_write, [&](DbTx& tx) { a = StoreAndAnswer(tx, player, id, v); });
  return a;
}

static void RequireListed(DbTx& tx, const std::string& id)
{
  DbRows r;
  tx.Run("SELECT state FROM levels WHERE id = ?", {Text(id)}, &r);
  if (r.count == 0 || r.Number(0, 0) != level_listed)
    throw Refusal{404, "no level " + id};
}

Answer LevelRecords(DbTx& tx, const std::string& id, long limit, const Player* player)
{
  RequireListed(tx, id);
  DbRows r;
  tx.Run("SELECT b.run_id, p.name, b.score, b.achieved FROM bests b JOIN players p ON p.id = b.player_id"
         " WHERE b.level_id = ? ORDER BY b.score DESC, b.run_id LIMIT ?",
         {Text(id), Num(limit)}, &r);
  json records = json::array();
  long long rank = 0;
  for (int i = 0; i < r.count; i++) {
    if (i == 0 || r.Number(i, 2) != r.Number(i - 1, 2))
      rank = i + 1;
    records.push_back(json{{"rank", rank}, {"name", r.At(i, 1)}, {"score", r.Number(i, 2)},
                           {"date", IsoDate(r.Number(i, 3))}, {"run", r.Number(i, 0)}});
  }
  json answer{{"level", id}, {"records", records}};
  if (player)
    answer["player"] = PlayerStanding(tx, id, player->id);
  return Answer{200, answer};
}

std::string RunReplay(DbTx& tx, long long runId)
{
  DbRows r;
  tx.Run("SELECT r.replay FROM runs r JOIN levels l ON l.id = r.level_id WHERE r.id = ? AND l.state = 0",
         {Num(runId)}, &r);
  if (r.count == 0)
    throw Refusal{404, "no run " + std::to_string(runId)};
  return r.At(0, 0);
}

Answer RateLevel(DbTx& tx, const Player& player, const std::string& id, bool up)
{
  RequireListed(tx, id);
  DbRows finished;
  tx.Run("SELECT 1 FROM bests WHERE level_id = ? AND player_id = ?", {Text(id), Num(player.id)}, &finished);
  if (finished.count == 0)
    throw Refusal{403, "only a player who has finished a level can rate it"};
  long long changed;
  if (up)
    changed = tx.Run("INSERT INTO ratings (level_id, player_id) VALUES (?, ?) ON CONFLICT DO NOTHING",
                     {Text(id), Num(player.id)});
  else
    changed = tx.Run("DELETE FROM ratings WHERE level_id = ? AND player_id = ?", {Text(id), Num(player.id)});
  if (changed == 1)
    tx.Run("UPDATE levels SET rating = rating + ? WHERE id = ?", {Num(up ? 1 : -1), Text(id)});
  DbRows rating;
  tx.Run("SELECT rating FROM levels WHERE id = ?", {Text(id)}, &rating);
  return Answer{200, json{{"up", up}, {"rating", rating.Number(0, 0)}}};
}

int CheckCounts(DbTx& tx, std::string* report)
{
  DbRows levels, bests, untried;
  tx.Run("SELECT l.id FROM levels l WHERE"
         " l.plays <> (SELECT COUNT(*) FROM runs r WHERE r.level_id = l.id)"
         " OR l.finishes <> (SELECT COUNT(*) FROM bests b WHERE b.level_id = l.id)"
         " OR l.rating <> (SELECT COUNT(*) FROM ratings g WHERE g.level_id = l.id)"
         " OR COALESCE(l.record, -1) <> COALESCE((SELECT MAX(b.score) FROM bests b WHERE b.level_id = l.id), -1)"
         " OR l.tried <> (SELECT COUNT(*) FROM tries t WHERE t.level_id = l.id AND t.player_id <> l.author_id)"
         " OR l.cleared <> (SELECT COUNT(*) FROM bests b WHERE b.level_id = l.id AND b.player_id <> l.author_id)",
         {}, &levels);
  tx.Run("SELECT b.level_id, b.player_id FROM bests b WHERE"
         " b.score <> (SELECT MAX(r.score) FROM runs r WHERE r.level_id = b.level_id AND r.player_id = b.player_id)"
         " OR NOT EXISTS (SELECT 1 FROM runs r WHERE r.id = b.run_id AND r.level_id = b.level_id"
         " AND r.player_id = b.player_id AND r.score = b.score)",
         {}, &bests);
  // A run without its try would let a later try count the player twice.
  tx.Run("SELECT DISTINCT r.level_id, r.player_id FROM runs r WHERE NOT EXISTS"
         " (SELECT 1 FROM tries t WHERE t.level_id = r.level_id AND t.player_id = r.player_id)",
         {}, &untried);
  for (int i = 0; i < levels.count; i++)
    *report += "level " + levels.At(i, 0) + ": its plays, finishes, tries, rating or record disagree with its runs and tries\n";
  for (int i = 0; i < bests.count; i++)
    *report += "level " + bests.At(i, 0) + ", player " + bests.At(i, 1) + ": the best is not the best run\n";
  for (int i = 0; i < untried.count; i++)
    *report += "level " + untried.At(i, 0) + ", player " + untried.At(i, 1) + ": runs but no try\n";
  return levels.count + bests.count + untried.count + CheckRanks(tx, report);
}
