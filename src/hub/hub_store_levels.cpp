// hub_store_levels: publishing, the level list, withdrawing and hiding.
#include "hub/hub_ids.h"
#include "hub/hub_refusal.h"
#include "hub/hub_requests.h"
#include "hub/hub_store_levels.h"
#include "hub/hub_store_runs.h"

#include "game/base/search_key.h"

#include <chrono>
#include <ctime>

using nlohmann::json;

static const long long MillisecondsPerSecond = 1000;

static long long NowMilliseconds()
{
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// One round trip on PostgreSQL. On SQLite, where a statement costs no round
// trip, the join took twice the processor time of the two statements on a
// hub of a million runs.
Player FindPlayerAndLevel(DbTx& tx, const std::string& tokenHash, const std::string& id, std::string* body)
{
  if (!UsesPostgres()) {
    Player p = FindPlayer(tx, tokenHash);
    *body = LevelBody(tx, id);
    return p;
  }
  DbRows r;
  tx.Run("SELECT p.id, p.name, l.body FROM players p LEFT JOIN levels l ON l.id = ? AND l.state = 0"
         " WHERE p.token_hash = ?",
         {Text(id), Text(tokenHash)}, &r);
  if (r.count == 0)
    throw Refusal{401, "unknown token: register it first with POST /api/v1/players"};
  if (r.IsNull(0, 2))
    throw Refusal{404, "no level " + id};
  *body = r.At(0, 2);
  return Player{r.Number(0, 0), r.At(0, 1)};
}

Answer PublishLevel(DbTx& tx, const Player& player, const Verdict& v)
{
  std::string id = LevelIdOf(v.level);
  long long now = time(nullptr), nowMs = NowMilliseconds();
  bool created = tx.Run("INSERT INTO levels (id, body, title, width, height, author_id, shipped, state, published_ms,"
                        " plays, finishes, rating, search_key) VALUES (?, ?, ?, ?, ?, ?, 0, 0, ?, 0, 0, 0, ?)"
                        " ON CONFLICT (id) DO NOTHING",
                        {Text(id), Text(v.level), Text(v.title), Num(v.width), Num(v.height), Num(player.id),
                         Num(nowMs), Text(SearchKey(v.title))}) == 1;
  if (!created) {
    DbRows r;
    tx.Run("SELECT state FROM levels WHERE id = ?", {Text(id)}, &r);
    if (r.Number(0, 0) == level_hidden)
      throw Refusal{403, "this level was hidden by the hub's operator"};
    // A level its author withdrew is the next publisher's.
    created = tx.Run("UPDATE levels SET state = 0, withdrawn = 0, author_id = ?, published_ms = ?, author_score = NULL,"
                     " author_run = NULL WHERE id = ? AND state = 1",
                     {Num(player.id), Num(nowMs), Text(id)}) == 1;
    // Its new author's earlier runs no longer count as tries of another player's level.
    if (created)
      tx.Run("UPDATE levels SET tried = (SELECT COUNT(*) FROM tries t WHERE t.level_id = levels.id"
             " AND t.player_id <> levels.author_id), cleared = (SELECT COUNT(*) FROM bests b"
             " WHERE b.level_id = levels.id AND b.player_id <> levels.author_id) WHERE id = ?",
             {Text(id)});
  }
  if (!created) {
    // Publishing a listed level again records nothing: it answers with the author run.
    DbRows r;
    tx.Run("SELECT author_run FROM levels WHERE id = ?", {Text(id)}, &r);
    return Answer{200, json{{"id", id}, {"run", r.IsNull(0, 0) ? json() : json(r.Number(0, 0))}}};
  }
  long long run = StoreRun(tx, player, id, v, now);
  tx.Run("UPDATE levels SET author_score = ?, author_run = ? WHERE id = ?", {Num(v.score), Num(run), Text(id)});
  return Answer{201, json{{"id", id}, {"run", run}}};
}

void ImportShippedLevel(DbTx& tx, int slot, const Verdict& v)
{
  std::string id = LevelIdOf(v.level);
  DbRows author;
  tx.Run("SELECT id, name FROM players WHERE name_key = ?", {Text(NameKey(ShippedAuthor))}, &author);
  Player shipped{author.Number(0, 0), author.At(0, 1)};
  tx.Run("INSERT INTO levels (id, body, title, width, height, author_id, shipped, state, published_ms, plays, finishes,"
         " rating, search_key) VALUES (?, ?, ?, ?, ?, ?, ?, 0, ?, 0, 0, 0, ?) ON CONFLICT (id) DO NOTHING",
         {Text(id), Text(v.level), Text(v.title), Num(v.width), Num(v.height), Num(shipped.id), Num(slot),
          Num(NowMilliseconds()), Text(SearchKey(v.title))});
  // A slot whose file changed keeps its old level, as a level like any other.
  tx.Run("UPDATE levels SET shipped = 0 WHERE shipped = ? AND id <> ?", {Num(slot), Text(id)});
  tx.Run("UPDATE levels SET shipped = ? WHERE id = ?", {Num(slot), Text(id)});
  DbRows known;
  tx.Run("SELECT state, author_run FROM levels WHERE id = ?", {Text(id)}, &known);
  if (!v.finished || known.Number(0, 0) != level_listed || !known.IsNull(0, 1))
    return;
  long long run = StoreRun(tx, shipped, id, v, time(nullptr));
  tx.Run("UPDATE levels SET author_score = ?, author_run = ? WHERE id = ?", {Num(v.score), Num(run), Text(id)});
}

json LevelRow(const DbRows& r, int i)
{
  long long tried = r.Number(i, 6), finishes = r.Number(i, 7);
  return json{{"id", r.At(i, 0)},
              {"title", r.At(i, 1)},
              {"author", r.At(i, 2)},
              {"width", r.Number(i, 3)},
              {"height", r.Number(i, 4)},
              {"plays", r.Number(i, 5)},
              {"tried", tried},
              {"finishes", finishes},
              {"clear_rate", tried > 0 ? (double)finishes / (double)tried : 0.0},
              {"rating", r.Number(i, 8)},
              {"record", r.IsNull(i, 9) ? json() : json(r.Number(i, 9))},
              {"author_score", r.IsNull(i, 10) ? json() : json(r.Number(i, 10))},
              {"shipped", r.Number(i, 11)},
              {"published", IsoDate(r.Number(i, 12) / MillisecondsPerSecond)}};
}

Answer LevelPage(DbTx& tx, int sort, long page)
{
  static const char* const Queries[] = {
    "SELECT " LEVEL_ROW_COLUMNS LEVEL_ROW_TABLES " WHERE l.state = 0 AND l.held = 0"
    " ORDER BY l.published_ms DESC, l.id LIMIT ? OFFSET ?",
    "SELECT " LEVEL_ROW_COLUMNS LEVEL_ROW_TABLES " WHERE l.state = 0 AND l.held = 0"
    " ORDER BY l.plays DESC, l.published_ms DESC, l.id LIMIT ? OFFSET ?",
    "SELECT " LEVEL_ROW_COLUMNS LEVEL_ROW_TABLES " WHERE l.state = 0 AND l.held = 0"
    " ORDER BY l.rating DESC, l.published_ms DESC, l.id LIMIT ? OFFSET ?",
  };
  static_assert(sizeof Queries / sizeof Queries[0] == SortCount, "one entry per SortCount");
  DbRows r;
  // One more than a page tells whether another page follows.
  tx.Run(Queries[sort], {Num(LevelsPerPage + 1), Num((page - 1) * LevelsPerPage)}, &r);
  json levels = json::array();
  for (int i = 0; i < r.count && i < LevelsPerPage; i++)
    levels.push_back(LevelRow(r, i));
  return Answer{200, json{{"sort", SortName(sort)}, {"page", page}, {"more", r.count > LevelsPerPage},
                          {"levels", levels}}};
}

std::string LevelBody(DbTx& tx, const std::string& id)
{
  DbRows r;
  tx.Run("SELECT body FROM levels WHERE id = ? AND state = 0", {Text(id)}, &r);
  if (r.count == 0)
    throw Refusal{404, "no level " + id};
  return r.At(0, 0);
}

void WithdrawLevel(DbTx& tx, const Player& player, const std::string& id)
{
  DbRows r;
  tx.Run("SELECT author_id, shipped FROM levels WHERE id = ? AND state = 0", {Text(id)}, &r);
  if (r.count == 0)
    throw Refusal{404, "no level " + id};
  if (r.Number(0, 1) != 0)
    throw Refusal{403, "a shipped level cannot be withdrawn"};
  if (r.Number(0, 0) != player.id)
    throw Refusal{403, "only its author can withdraw a level"};
  tx.Run("UPDATE levels SET state = 1, withdrawn = 1 WHERE id = ? AND state = 0", {Text(id)});
}

bool SetHidden(DbTx& tx, const std::string& id, bool hidden)
{
  if (hidden)
    return tx.Run("UPDATE levels SET state = 2 WHERE id = ?", {Text(id)}) == 1;
  return tx.Run("UPDATE levels SET state = CASE WHEN withdrawn = 1 THEN 1 ELSE 0 END WHERE id = ? AND state = 2",
                {Text(id)}) == 1;
}
