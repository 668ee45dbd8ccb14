// hub_page_players: the player page and the search page.
#include "hub/hub_page_players.h"

#include "hub/hub_db.h"
#include "hub/hub_find.h"
#include "hub/hub_options.h"
#include "hub/hub_page.h"
#include "hub/hub_page_front.h"
#include "hub/hub_refusal.h"
#include "hub/hub_requests.h"
#include "hub/hub_store.h"
#include "hub/hub_words.h"

#include <algorithm>

using httplib::Request;
using httplib::Response;
using nlohmann::json;

static const size_t DateChars = 10;   // "YYYY-MM-DD" of an ISO date


static std::string PlayerRecords(int language, const json& records)
{
  if (!records.is_array() || records.empty())
    return "<p>" + Html(Word(language, word_no_records)) + "</p>";
  std::string out = "<table class=\"records\"><thead><tr><th>" + Html(Word(language, word_level)) + "</th><th>" +
                    Html(Word(language, word_rank)) + "</th><th>" + Html(Word(language, word_score)) + "</th><th>" +
                    Html(Word(language, word_date)) + "</th></tr></thead><tbody>";
  for (const json& r : records) {
    std::string date = r.value("date", "");
    out += "<tr><td><a href=\"/levels/" + UrlPart(r.value("level", "")) + "\">" + Html(r.value("title", "")) +
           "</a></td><td>" + NumberIn(r, "rank") + "</td><td>" + NumberIn(r, "score") + "</td><td>" +
           Html(date.substr(0, DateChars)) + "</td></tr>";
  }
  return out + "</tbody></table>";
}

static std::string Medals(int language, const json& medals)
{
  static const struct {
    const char* key;
    PageWord word;
  } Kinds[] = {{"gold", word_gold_medals}, {"silver", word_silver_medals}, {"bronze", word_bronze_medals}};
  std::string out = "<dl class=\"facts medals\">";
  for (const auto& kind : Kinds)
    out += "<dt>" + Html(Word(language, kind.word)) + "</dt><dd class=\"" + kind.key + "\">" +
           NumberIn(medals, kind.key) + "</dd>";
  return out + "</dl>";
}

static void PlayerRoute(const Request& req, Response& res)
{
  PageGuarded(req, res, [&] {
    std::string name = req.matches[1];
    std::string why;
    if (!CheckName(name, &why))
      throw Refusal{404, "no player " + name};
    json player;
    InTransaction(tx_read, [&](DbTx& tx) { player = PlayerPage(tx, name).body; });
    int language = PageLanguage(req);
    std::string shown = player.value("name", name);
    PageMeta meta{shown, Word(language, word_player_description), ""};
    std::string page = PageStart(req, language, meta) + "<h1>" + Html(shown) + "</h1>" +
                       Medals(language, player["medals"]) + "<h2>" + Html(Word(language, word_levels_by)) + "</h2>" +
                       LevelList(language, player["levels"]) + "<h2>" + Html(Word(language, word_records)) + "</h2>" +
                       PlayerRecords(language, player["records"]);
    SendPage(res, 200, page + PageEnd(language));
  });
}

// The search as a page takes it: cut to MaxSearchBytes, never inside a
// character, and to its first MaxSearchWords words; a filter it cannot read is none.
static LevelQuery PageQuery(const Request& req, std::string* q)
{
  *q = req.get_param_value("q");
  size_t end = q->size() > (size_t)MaxSearchBytes ? (size_t)MaxSearchBytes : q->size();
  while (end < q->size() && end > 0 && ((unsigned char)(*q)[end] & 0xC0) == 0x80)
    end--;
  q->resize(end);
  LevelQuery query;
  std::string why;
  size_t cut = q->size();
  while (!ReadSearchWords(q->substr(0, cut), &query, &why)) {   // too many words: the last goes
    size_t space = cut > 0 ? q->find_last_of(' ', cut - 1) : std::string::npos;
    cut = space == std::string::npos ? 0 : space;
  }
  query.size = std::max(ReadLevelSize(req.get_param_value("size")), (int)size_any);
  query.difficulty = std::max(ReadDifficulty(req.get_param_value("difficulty")), (int)difficulty_any);
  query.page = req.has_param("page") ? ReadCount(req.get_param_value("page"), 1, HubOptions.maxPage) : 1;
  query.page = std::max(query.page, 1LL);
  query.sort = sort_plays;
  return query;
}

static void SearchRoute(const Request& req, Response& res)
{
  PageGuarded(req, res, [&] {
    std::string q;
    LevelQuery query = PageQuery(req, &q);
    std::string size = query.size ? req.get_param_value("size") : "";
    std::string difficulty = query.difficulty ? req.get_param_value("difficulty") : "";
    long long page = query.page;
    json found;
    InTransaction(tx_read, [&](DbTx& tx) { found = FindLevels(tx, query).body; });
    int language = PageLanguage(req);
    PageMeta meta{Word(language, word_search), Word(language, word_hub_description), ""};
    std::string link = "/search?q=" + UrlPart(q) + "&amp;size=" + UrlPart(size) + "&amp;difficulty=" +
                        UrlPart(difficulty) + "&amp;page=";
    std::string pager = "<nav class=\"pages\">";
    if (page > 1)
      pager += "<a rel=\"prev\" href=\"" + link + std::to_string(page - 1) + "\">" +
               Html(Word(language, word_previous_page)) + "</a>";
    if (found.value("more", false) && page < HubOptions.maxPage)
      pager += "<a rel=\"next\" href=\"" + link + std::to_string(page + 1) + "\">" +
               Html(Word(language, word_next_page)) + "</a>";
    std::string html = PageStart(req, language, meta) + "<h1>" + Html(Word(language, word_search)) + "</h1>" +
                       SearchForm(language, q, size, difficulty) + LevelList(language, found["levels"]) + pager +
                       "</nav>";
    SendPage(res, 200, html + PageEnd(language));
  });
}

void AddPlayerPages(httplib::Server& server)
{
  server.Get("/players/(.+)", PlayerRoute);
  server.Get("/search", SearchRoute);
}
