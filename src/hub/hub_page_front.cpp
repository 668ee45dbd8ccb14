// hub_page_front: the front page and the search box every list page shows.
#include "hub/hub_page_front.h"

#include "hub/hub_db.h"
#include "hub/hub_find.h"
#include "hub/hub_options.h"
#include "hub/hub_page.h"
#include "hub/hub_refusal.h"
#include "hub/hub_requests.h"
#include "hub/hub_store_levels.h"
#include "hub/hub_words.h"

#include <ctime>

using httplib::Request;
using httplib::Response;
using nlohmann::json;

static const long long SecondsPerDay = 86400;

struct Choice {
  const char* value;   // in the query string
  PageWord word;       // shown
};

static const Choice Sizes[] = {{"", word_any_size}, {"small", word_small}, {"medium", word_medium}, {"large", word_large}};
static const Choice Difficulties[] = {{"", word_any_difficulty}, {"easy", word_easy}, {"medium", word_medium},
                                      {"hard", word_hard}, {"unbeaten", word_unbeaten}};
static const Choice Sorts[] = {{"new", word_newest}, {"plays", word_most_played}, {"rating", word_best_rated}};
static_assert(sizeof Sorts / sizeof Sorts[0] == SortCount, "one entry per SortCount");

static std::string Select(int language, const char* name, PageWord label, const Choice* choices, int count,
                          const std::string& chosen)
{
  std::string out = "<select name=\"" + std::string(name) + "\" aria-label=\"" + Html(Word(language, label)) + "\">";
  for (int i = 0; i < count; i++)
    out += "<option value=\"" + std::string(choices[i].value) + "\"" + (chosen == choices[i].value ? " selected" : "") +
           ">" + Html(Word(language, choices[i].word)) + "</option>";
  return out + "</select>";
}

std::string SearchForm(int language, const std::string& q, const std::string& size, const std::string& difficulty)
{
  std::string label = Word(language, word_search_levels);
  return "<form class=\"search\" action=\"/search\" method=\"get\" role=\"search\">"
         "<input type=\"search\" name=\"q\" value=\"" + Html(q) + "\" placeholder=\"" + Html(label) +
         "\" aria-label=\"" + Html(label) + "\" maxlength=\"" + std::to_string(MaxSearchBytes) + "\">" +
         Select(language, "size", word_size, Sizes, sizeof Sizes / sizeof Sizes[0], size) +
         Select(language, "difficulty", word_difficulty, Difficulties, sizeof Difficulties / sizeof Difficulties[0],
                difficulty) +
         "<button type=\"submit\">" + Html(Word(language, word_search)) + "</button></form>";
}

static std::string Tabs(int language, int sort)
{
  std::string out = "<nav class=\"tabs\">";
  for (int s = 0; s < SortCount; s++)
    out += "<a href=\"/?sort=" + std::string(Sorts[s].value) + "\"" + (s == sort ? " aria-current=\"page\"" : "") +
           ">" + Html(Word(language, Sorts[s].word)) + "</a>";
  return out + "</nav>";
}

static std::string Pager(int language, int sort, long page, bool more)
{
  std::string base = "/?sort=" + std::string(Sorts[sort].value) + "&amp;page=";
  std::string out = "<nav class=\"pages\">";
  if (page > 1)
    out += "<a rel=\"prev\" href=\"" + base + std::to_string(page - 1) + "\">" +
           Html(Word(language, word_previous_page)) + "</a>";
  if (more && page < HubOptions.maxPage)
    out += "<a rel=\"next\" href=\"" + base + std::to_string(page + 1) + "\">" + Html(Word(language, word_next_page)) +
           "</a>";
  return out + "</nav>";
}

static std::string Daily(int language, const json& level)
{
  if (!level.is_object())
    return "";
  return "<section class=\"daily\"><h2>" + Html(Word(language, word_level_of_the_day)) + "</h2>" +
         LevelList(language, json::array({level})) + "</section>";
}

static void FrontRoute(const Request& req, Response& res)
{
  PageGuarded(req, res, [&] {
    int sort = req.has_param("sort") ? ReadSort(req.get_param_value("sort")) : sort_new;
    long long page = req.has_param("page") ? ReadCount(req.get_param_value("page"), 1, HubOptions.maxPage) : 1;
    if (sort < 0)
      sort = sort_new;
    if (page < 0)
      page = 1;
    json list, daily;
    InTransaction(tx_read, [&](DbTx& tx) {
      list = LevelPage(tx, sort, page).body;
      try {
        daily = DailyLevel(tx, time(nullptr) / SecondsPerDay).body;
      } catch (const Refusal&) {   // no level finished by a player besides its author yet
      }
    });
    int language = PageLanguage(req);
    PageMeta meta{"", Word(language, word_hub_description), ""};
    std::string html = PageStart(req, language, meta) + "<h1>" + Html(Word(language, word_hub_title)) + "</h1>" +
                       SearchForm(language, "", "", "") + Daily(language, daily) + "<section class=\"list\"><h2>" +
                       Html(Word(language, Sorts[sort].word)) + "</h2>" + Tabs(language, sort) +
                       LevelList(language, list["levels"]) + "</section>" +
                       Pager(language, sort, page, list.value("more", false));
    SendPage(res, 200, html + PageEnd(language));
  });
}

void AddFrontPage(httplib::Server& server)
{
  server.Get("/", FrontRoute);
}
