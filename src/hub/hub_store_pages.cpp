// hub_store_pages: one level's row for its page.
#include "hub/hub_store_pages.h"

#include "hub/hub_refusal.h"
#include "hub/hub_store.h"

#include "hub/hub_requests.h"

#include "game/level_files.h"
#include "game/medals.h"

using nlohmann::json;

static const long long MillisecondsPerSecond = 1000;
static const int FirstFreeSlot = 16;   // after the shipped levels 1..15
static const int PlayerRows = 100;     // levels and records on a player's page
static const char LevelColumns[] =
  "SELECT l.id, l.title, p.name, l.width, l.height, l.plays, l.finishes, l.rating, l.record, l.author_score,"
  " l.shipped, l.published_ms FROM levels l JOIN players p ON p.id = l.author_id WHERE l.state = 0 ";

static json LevelRow(const DbRows& r, int i)
{
  return json{{"id", r.At(i, 0)},          {"title", r.At(i, 1)},
              {"author", r.At(i, 2)},      {"width", r.Number(i, 3)},
              {"height", r.Number(i, 4)},  {"plays", r.Number(i, 5)},
              {"finishes", r.Number(i, 6)}, {"rating", r.Number(i, 7)},
              {"record", r.IsNull(i, 8) ? json() : json(r.Number(i, 8))},
              {"author_score", r.IsNull(i, 9) ? json() : json(r.Number(i, 9))},
              {"shipped", r.Number(i, 10)}, {"published", IsoDate(r.Number(i, 11) / MillisecondsPerSecond)}};
}

json LevelFacts(DbTx& tx, const std::string& id)
{
  DbRows r;
  tx.Run(std::string(LevelColumns) + "AND l.id = ?", {Text(id)}, &r);
  if (r.count == 0)
    throw Refusal{404, "no level " + id};
  return LevelRow(r, 0);
}

// A shipped level keeps its slot; any other gets one past them from its id,
// the same for everyone who downloads it.
int DownloadSlot(const std::string& id, int shipped)
{
  if (shipped > 0)
    return shipped;
  unsigned long h = 0;
  for (char c : id)
    h = h * 31 + (unsigned char)c;
  return FirstFreeSlot + (int)(h % (unsigned long)(MaxLevels - FirstFreeSlot + 1));
}

Answer PlayerAnswer(DbTx& tx, const std::string& name)
{
  DbRows p, levels, records;
  tx.Run("SELECT id, name FROM players WHERE name_key = ?", {Text(NameKey(name))}, &p);
  if (p.count == 0)
    throw Refusal{404, "no player " + name};
  long long id = p.Number(0, 0);
  tx.Run(std::string(LevelColumns) + "AND l.author_id = ? ORDER BY l.published_ms DESC, l.id LIMIT ?",
         {Num(id), Num(PlayerRows)}, &levels);
  tx.Run("SELECT b.level_id, l.title, b.score, b.achieved, l.author_score,"
         " (SELECT COUNT(*) FROM bests o WHERE o.level_id = b.level_id AND o.score > b.score) + 1 AS place"
         " FROM bests b JOIN levels l ON l.id = b.level_id WHERE b.player_id = ? AND l.state = 0"
         " ORDER BY place, b.achieved DESC, b.level_id",
         {Num(id)}, &records);
  json answer{{"name", p.At(0, 1)}, {"levels", json::array()}, {"records", json::array()}};
  for (int i = 0; i < levels.count; i++)
    answer["levels"].push_back(LevelRow(levels, i));
  int counts[MedalKinds] = {0};
  for (int i = 0; i < records.count; i++) {
    counts[MedalFor((int)records.Number(i, 2), records.IsNull(i, 4) ? 0 : (int)records.Number(i, 4))]++;
    if (i < PlayerRows)
      answer["records"].push_back(json{{"id", records.At(i, 0)}, {"title", records.At(i, 1)},
                                       {"rank", records.Number(i, 5)}, {"score", records.Number(i, 2)},
                                       {"date", IsoDate(records.Number(i, 3))}});
  }
  answer["medals"] = json{{"gold", counts[medal_gold] + counts[medal_author]}, {"silver", counts[medal_silver]},
                          {"bronze", counts[medal_bronze]}};
  return Answer{200, answer};
}

Answer SearchAnswer(DbTx& tx, const std::string& q, const std::string&, const std::string&, long page)
{
  std::string like = "%";
  for (char c : q)
    like += c == '%' || c == '_' || c == '\\' ? std::string("\\") + c : std::string(1, (char)tolower((unsigned char)c));
  like += "%";
  DbRows r;
  tx.Run(std::string(LevelColumns) + "AND (LOWER(l.title) LIKE ? ESCAPE '\\' OR LOWER(p.name) LIKE ? ESCAPE '\\')"
         " ORDER BY l.plays DESC, l.published_ms DESC, l.id LIMIT ? OFFSET ?",
         {Text(like), Text(like), Num(LevelsPerPage + 1), Num((page - 1) * LevelsPerPage)}, &r);
  json levels = json::array();
  for (int i = 0; i < r.count && i < LevelsPerPage; i++)
    levels.push_back(LevelRow(r, i));
  return Answer{200, json{{"page", page}, {"more", r.count > LevelsPerPage}, {"levels", levels}}};
}
