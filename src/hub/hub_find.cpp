// hub_find: the searched and filtered list, the level of the day, a player's page.
#include "hub/hub_find.h"

#include "hub/hub_ranks.h"
#include "hub/hub_refusal.h"
#include "hub/hub_requests.h"
#include "hub/hub_store_levels.h"

#include "game/base/search_key.h"
#include "game/base/sha256.h"
#include "game/run/medals.h"

using nlohmann::json;

static const long long MostCells = 1LL << 30;   // past any level's cell count, within a 32-bit INTEGER
static const long long SecondsPerDay = 86400;

bool ReadSearchWords(const std::string& text, LevelQuery* query, std::string* why)
{
  if ((int)text.size() > MaxSearchBytes) {
    *why = "q is at most " + std::to_string(MaxSearchBytes) + " bytes";
    return false;
  }
  std::string key = SearchKey(text);
  query->words = 0;
  size_t at = 0;
  while (at < key.size()) {
    size_t end = key.find(' ', at);
    if (end == std::string::npos)
      end = key.size();
    if (end > at) {
      if (query->words == MaxSearchWords) {
        *why = "q has at most " + std::to_string(MaxSearchWords) + " words";
        return false;
      }
      query->word[query->words++] = key.substr(at, end - at);
    }
    at = end + 1;
  }
  return true;
}

static int ReadWord(const std::string& text, const char* const* names, int count)
{
  for (int i = 1; i < count; i++)
    if (text == names[i])
      return i;
  return -1;
}

int ReadLevelSize(const std::string& text)
{
  static const char* const Names[] = {"", "small", "medium", "large"};
  static_assert(sizeof Names / sizeof Names[0] == LevelSizeCount, "one entry per LevelSizeCount");
  return ReadWord(text, Names, LevelSizeCount);
}

int ReadDifficulty(const std::string& text)
{
  static const char* const Names[] = {"", "easy", "medium", "hard", "unbeaten"};
  static_assert(sizeof Names / sizeof Names[0] == DifficultyCount, "one entry per DifficultyCount");
  return ReadWord(text, Names, DifficultyCount);
}

// A word as a LIKE pattern that finds it anywhere, with '!' escaping the pattern's own characters.
static std::string Contains(const std::string& word)
{
  std::string pattern = "%";
  for (char c : word) {
    if (c == '%' || c == '_' || c == '!')
      pattern += '!';
    pattern += c;
  }
  return pattern + "%";
}

// The filtered list, written out for MaxSearchWords words (a missing word is
// the pattern "%", which every text matches). Its difficulty CASE numbers
// the difficulties as the enum does.
static_assert(difficulty_easy == 1 && difficulty_medium == 2 && difficulty_hard == 3 && difficulty_unbeaten == 4,
              "the numbers of the CASE in FOUND_LEVELS");
static_assert(MaxSearchWords == 6, "the words of FOUND_LEVELS");
#define IN_TITLE "l.search_key LIKE ? ESCAPE '!'"
#define ANYWHERE " AND (l.search_key LIKE ? ESCAPE '!' OR p.name_key LIKE ? ESCAPE '!')"
#define FOUND_LEVELS                                                                                         \
  "SELECT " LEVEL_ROW_COLUMNS ", CASE WHEN " IN_TITLE " AND " IN_TITLE " AND " IN_TITLE " AND " IN_TITLE     \
  " AND " IN_TITLE " AND " IN_TITLE " THEN 0 ELSE 1 END AS maker_match" LEVEL_ROW_TABLES                      \
  " WHERE l.state = 0 AND l.held = 0 AND l.width * l.height BETWEEN ? AND ? AND (? = 0 OR CASE WHEN l.cleared = 0 THEN 4"   \
  " WHEN l.cleared * 100 >= l.tried * ? THEN 1 WHEN l.cleared * 100 >= l.tried * ? THEN 2 ELSE 3 END = ?)"  \
  ANYWHERE ANYWHERE ANYWHERE ANYWHERE ANYWHERE ANYWHERE " ORDER BY maker_match, "

Answer FindLevels(DbTx& tx, const LevelQuery& q)
{
  if (q.words == 0 && q.size == size_any && q.difficulty == difficulty_any)
    return LevelPage(tx, q.sort, q.page);
  static const char* const Queries[] = {
    FOUND_LEVELS "l.published_ms DESC, l.id LIMIT ? OFFSET ?",
    FOUND_LEVELS "l.plays DESC, l.published_ms DESC, l.id LIMIT ? OFFSET ?",
    FOUND_LEVELS "l.rating DESC, l.published_ms DESC, l.id LIMIT ? OFFSET ?",
  };
  static_assert(sizeof Queries / sizeof Queries[0] == SortCount, "one entry per SortCount");
  static const long long Cells[LevelSizeCount][2] = {
    {0, MostCells}, {0, SmallLevelCells}, {SmallLevelCells + 1, MediumLevelCells}, {MediumLevelCells + 1, MostCells}};
  std::string p[MaxSearchWords];
  for (int w = 0; w < MaxSearchWords; w++)
    p[w] = w < q.words ? Contains(q.word[w]) : "%";
  DbRows r;
  tx.Run(Queries[q.sort],
         {Text(p[0]), Text(p[1]), Text(p[2]), Text(p[3]), Text(p[4]), Text(p[5]),
          Num(Cells[q.size][0]), Num(Cells[q.size][1]),
          Num(q.difficulty), Num(EasyClearPercent), Num(MediumClearPercent), Num(q.difficulty),
          Text(p[0]), Text(p[0]), Text(p[1]), Text(p[1]), Text(p[2]), Text(p[2]),
          Text(p[3]), Text(p[3]), Text(p[4]), Text(p[4]), Text(p[5]), Text(p[5]),
          Num(LevelsPerPage + 1), Num((q.page - 1) * LevelsPerPage)},
         &r);
  json levels = json::array();
  for (int i = 0; i < r.count && i < LevelsPerPage; i++)
    levels.push_back(LevelRow(r, i));
  return Answer{200, json{{"sort", SortName(q.sort)}, {"page", q.page}, {"more", r.count > LevelsPerPage},
                          {"levels", levels}}};
}

Answer DailyLevel(DbTx& tx, long long day)
{
  // Levels someone besides their author finished, in the order of their ids.
  DbRows count;
  tx.Run("SELECT COUNT(*) FROM levels WHERE state = 0 AND held = 0 AND cleared > 0", {}, &count);
  if (count.Number(0, 0) == 0)
    throw Refusal{404, "no level has been finished by a player besides its author yet"};
  std::string date = IsoDate(day * SecondsPerDay).substr(0, 10);
  unsigned char digest[Sha256DigestBytes];
  Sha256((const unsigned char*)date.data(), date.size(), digest);
  unsigned long long hash = 0;
  for (int i = 0; i < 8; i++)
    hash = hash << 8 | digest[i];
  static const char* const Pick = "SELECT " LEVEL_ROW_COLUMNS LEVEL_ROW_TABLES
                                  " WHERE l.state = 0 AND l.held = 0 AND l.cleared > 0 ORDER BY l.id LIMIT 1 OFFSET ?";
  DbRows r;
  tx.Run(Pick, {Num((long long)(hash % (unsigned long long)count.Number(0, 0)))}, &r);
  // PostgreSQL's reads see each statement's own moment: levels may have left the count since.
  if (r.count == 0)
    tx.Run(Pick, {Num(0)}, &r);
  if (r.count == 0)
    throw Refusal{404, "no level has been finished by a player besides its author yet"};
  json level = LevelRow(r, 0);
  level["date"] = date;
  return Answer{200, level};
}

Answer PlayerPage(DbTx& tx, const std::string& name)
{
  DbRows player;
  tx.Run("SELECT id, name FROM players WHERE name_key = ?", {Text(NameKey(name))}, &player);
  if (player.count == 0)
    throw Refusal{404, "no player " + name};
  long long id = player.Number(0, 0);
  DbRows made, bests;
  tx.Run("SELECT " LEVEL_ROW_COLUMNS LEVEL_ROW_TABLES " WHERE l.author_id = ? AND l.state = 0 AND l.held = 0"
         " ORDER BY l.published_ms DESC, l.id LIMIT ?",
         {Num(id), Num(MaxPlayerLevels)}, &made);
  // Equal scores share a rank, as on the leaderboard.
  tx.Run("SELECT b.level_id, l.title, b.score, b.achieved, l.author_score, l.author_id,"
         " " PLAYERS_ABOVE("b.level_id", "b.score") " + 1 AS place"
         " FROM bests b JOIN levels l ON l.id = b.level_id WHERE b.player_id = ? AND l.state = 0"
         " ORDER BY place, b.achieved DESC, b.level_id",
         {Num(id)}, &bests);
  json levels = json::array(), records = json::array();
  for (int i = 0; i < made.count; i++)
    levels.push_back(LevelRow(made, i));
  // Medals as the game gives them, against the author's score; the star counts as gold,
  // and a player's own levels earn them none.
  long long medals[MedalKinds] = {};
  for (int i = 0; i < bests.count; i++) {
    if (i < MaxPlayerRecords)
      records.push_back(json{{"level", bests.At(i, 0)}, {"title", bests.At(i, 1)}, {"rank", bests.Number(i, 6)},
                             {"score", bests.Number(i, 2)}, {"date", IsoDate(bests.Number(i, 3))}});
    if (bests.Number(i, 5) != id)
      medals[MedalFor((int)bests.Number(i, 2), (int)bests.Number(i, 4))]++;
  }
  return Answer{200, json{{"name", player.At(0, 1)}, {"levels", levels}, {"records", records},
                          {"medals", {{"gold", medals[medal_gold] + medals[medal_author]},
                                      {"silver", medals[medal_silver]}, {"bronze", medals[medal_bronze]}}}}};
}
