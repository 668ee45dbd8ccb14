// hub_schema: the migrations, oldest first. A migration is never changed
// once released: a change to the tables is a new migration at the end.
#include "hub/hub_schema.h"

#include "hub/hub_db.h"
#include "hub/hub_ranks.h"
#include "hub/hub_run_once.h"

#include "game/base/search_key.h"

#include <cstdio>

// Written once for both databases; {ID} is each one's growing primary key.
static const char* const Migration1[] = {
  "CREATE TABLE players (id {ID}, name TEXT NOT NULL, name_key TEXT NOT NULL UNIQUE,"
  " token_hash TEXT UNIQUE, created BIGINT NOT NULL)",
  // state: 0 listed, 1 withdrawn by its author, 2 hidden by the operator;
  // shipped: the slot 1..15 of a level that comes with the game, else 0;
  // published_ms: milliseconds, so that levels published one after another list in order.
  "CREATE TABLE levels (id TEXT PRIMARY KEY, body TEXT NOT NULL, title TEXT NOT NULL,"
  " width INTEGER NOT NULL, height INTEGER NOT NULL, author_id BIGINT NOT NULL,"
  " shipped INTEGER NOT NULL, state INTEGER NOT NULL, published_ms BIGINT NOT NULL,"
  " plays BIGINT NOT NULL, finishes BIGINT NOT NULL, rating BIGINT NOT NULL,"
  " record INTEGER, author_score INTEGER, author_run BIGINT)",
  "CREATE INDEX levels_by_new ON levels (state, published_ms DESC, id)",
  "CREATE INDEX levels_by_plays ON levels (state, plays DESC, published_ms DESC, id)",
  "CREATE INDEX levels_by_rating ON levels (state, rating DESC, published_ms DESC, id)",
  "CREATE TABLE runs (id {ID}, level_id TEXT NOT NULL, player_id BIGINT NOT NULL,"
  " score INTEGER NOT NULL, frames INTEGER NOT NULL, created BIGINT NOT NULL, replay TEXT NOT NULL)",
  "CREATE INDEX runs_by_level ON runs (level_id, player_id)",
  "CREATE TABLE bests (level_id TEXT NOT NULL, player_id BIGINT NOT NULL, run_id BIGINT NOT NULL,"
  " score INTEGER NOT NULL, achieved BIGINT NOT NULL, PRIMARY KEY (level_id, player_id))",
  "CREATE INDEX bests_by_score ON bests (level_id, score DESC, run_id)",
  "CREATE TABLE ratings (level_id TEXT NOT NULL, player_id BIGINT NOT NULL, PRIMARY KEY (level_id, player_id))",
  "INSERT INTO players (name, name_key, created) VALUES ('Tetherorb 2', 'tetherorb 2', 0)",
  nullptr,
};

// withdrawn: 1 while its author has the level off the hub, whatever the
// operator did since, so that showing a hidden level again never brings
// back one its author withdrew.
static const char* const Migration2[] = {
  "ALTER TABLE levels ADD COLUMN withdrawn INTEGER NOT NULL DEFAULT 0",
  "UPDATE levels SET withdrawn = 1 WHERE state = 1",
  nullptr,
};

// Publishing a known level again used to record its replay once more as a
// run of the publisher. Those copies (a player's run on a level repeating an
// earlier run of theirs there, replay for replay, that neither a best nor an
// author run points to) go, and plays counts the runs left.
static const char* const Migration3[] = {
  "DELETE FROM runs WHERE EXISTS (SELECT 1 FROM runs e WHERE e.level_id = runs.level_id"
  " AND e.player_id = runs.player_id AND e.replay = runs.replay AND e.id < runs.id)"
  " AND NOT EXISTS (SELECT 1 FROM bests b WHERE b.run_id = runs.id)"
  " AND NOT EXISTS (SELECT 1 FROM levels l WHERE l.author_run = runs.id)",
  "UPDATE levels SET plays = (SELECT COUNT(*) FROM runs r WHERE r.level_id = levels.id)",
  nullptr,
};

// Finding levels: search_key, the title as SearchKey folds it (a player's
// name_key is already its folded form, names being ASCII); tried and cleared,
// the players besides the level's author with a run, and with a finishing
// run, of it (every run the hub keeps finishes, so today they are equal).
static const char* const Migration4[] = {
  "ALTER TABLE levels ADD COLUMN search_key TEXT NOT NULL DEFAULT ''",
  "ALTER TABLE levels ADD COLUMN tried BIGINT NOT NULL DEFAULT 0",
  "ALTER TABLE levels ADD COLUMN cleared BIGINT NOT NULL DEFAULT 0",
  "UPDATE levels SET tried = (SELECT COUNT(DISTINCT r.player_id) FROM runs r WHERE r.level_id = levels.id"
  " AND r.player_id <> levels.author_id),"
  " cleared = (SELECT COUNT(*) FROM bests b WHERE b.level_id = levels.id AND b.player_id <> levels.author_id)",
  "CREATE INDEX levels_by_author ON levels (author_id, state)",
  "CREATE INDEX bests_by_player ON bests (player_id)",
  nullptr,
};

// Fills the search keys of the titles kept before migration 4.
static void FillSearchKeys(DbTx& tx)
{
  DbRows r;
  tx.Run("SELECT id, title FROM levels", {}, &r);
  for (int i = 0; i < r.count; i++)
    tx.Run("UPDATE levels SET search_key = ? WHERE id = ?", {Text(SearchKey(r.At(i, 1))), Text(r.At(i, 0))});
}

// Each level's picture, drawn once (hub_picture.h): the PNG in base64.
static const char* const Migration5[] = {
  "CREATE TABLE pictures (level_id TEXT PRIMARY KEY, png TEXT NOT NULL)",
  nullptr,
};

// Players' reports of a level (hub_reports.h), one a player and level;
// held: 1 while HoldReporters players' reports keep the level off the lists.
static const char* const Migration6[] = {
  "CREATE TABLE reports (level_id TEXT NOT NULL, player_id BIGINT NOT NULL, reason INTEGER NOT NULL,"
  " created BIGINT NOT NULL, PRIMARY KEY (level_id, player_id))",
  "ALTER TABLE levels ADD COLUMN held INTEGER NOT NULL DEFAULT 0",
  nullptr,
};

// The players who played a level, finishing it or not (hub_tries.h): a
// level's tried counts them, its author aside. Until now only finishing
// runs came, so each player with a run has tried the level since their first.
static const char* const Migration8[] = {
  "CREATE TABLE tries (level_id TEXT NOT NULL, player_id BIGINT NOT NULL, created BIGINT NOT NULL,"
  " PRIMARY KEY (level_id, player_id))",
  "INSERT INTO tries (level_id, player_id, created) SELECT level_id, player_id, MIN(created) FROM runs"
  " GROUP BY level_id, player_id",
  nullptr,
};

struct Migration {
  const char* const* statements;
  void (*fill)(DbTx& tx);   // what SQL alone cannot do, after the statements; may be null
};

static const Migration Migrations[] = {
  {Migration1, nullptr},
  {Migration2, nullptr},
  {Migration3, nullptr},
  {Migration4, FillSearchKeys},
  {Migration5, nullptr},
  {Migration6, nullptr},
  {RunOnceMigration, nullptr},   // each run stored once: hub_run_once.cpp
  {Migration8, nullptr},
  {RankMigration, AddRankTriggers},   // the players at each best score: hub_ranks.cpp
};
static const int MigrationCount = sizeof(Migrations) / sizeof(Migrations[0]);

static std::string ForThisDatabase(const char* statement)
{
  std::string sql = statement;
  size_t at = sql.find("{ID}");
  if (at != std::string::npos)
    sql.replace(at, 4, UsesPostgres() ? "BIGSERIAL PRIMARY KEY" : "INTEGER PRIMARY KEY AUTOINCREMENT");
  return sql;
}

bool PrepareSchema(std::string* error)
{
  try {
    InTransaction(tx_write, [](DbTx& tx) {
      tx.LockSchema();
      tx.Execute("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
      DbRows r;
      tx.Run("SELECT version FROM schema_version", {}, &r);
      if (r.count == 0)
        tx.Run("INSERT INTO schema_version (version) VALUES (0)", {});
      long long version = r.count ? r.Number(0, 0) : 0;
      for (long long m = version; m < MigrationCount; m++) {
        for (const char* const* s = Migrations[m].statements; *s; s++)
          tx.Execute(ForThisDatabase(*s));
        if (Migrations[m].fill)
          Migrations[m].fill(tx);
        tx.Run("UPDATE schema_version SET version = ?", {Num(m + 1)});
        printf("tetherorb2-hub: applied migration %lld\n", m + 1);
      }
      HashOldRuns(tx);
    });
  } catch (const DbError& e) {
    *error = e.what();
    return false;
  }
  return true;
}
