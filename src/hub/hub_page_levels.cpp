// hub_page_levels: the level page and the level file's download.
#include "hub/hub_page_levels.h"

#include "hub/hub_db.h"
#include "hub/hub_page.h"
#include "hub/hub_store_levels.h"
#include "hub/hub_store_runs.h"
#include "hub/hub_store_pages.h"
#include "hub/hub_words.h"

#include "game/run/medals.h"

using httplib::Request;
using httplib::Response;
using nlohmann::json;

static const size_t DateChars = 10;   // "YYYY-MM-DD" of an ISO date


static std::string Day(const json& iso)
{
  return iso.is_string() ? iso.get<std::string>().substr(0, DateChars) : "-";
}

// The medal line in the page's language: each %i in turn takes the next score.
static std::string MedalScores(int language, int author)
{
  const char* format = Word(language, word_medal_line);
  int scores[] = {MedalNeed(medal_silver, author), MedalNeed(medal_gold, author), MedalNeed(medal_author, author)};
  std::string out;
  int next = 0;
  for (const char* c = format; *c; c++) {
    if (c[0] == '%' && c[1] == 'i' && next < 3) {
      out += std::to_string(scores[next++]);
      c++;
    } else {
      out += *c;
    }
  }
  return out;
}

static std::string Fact(int language, PageWord word, const std::string& html)
{
  return "<dt>" + Html(Word(language, word)) + "</dt><dd>" + html + "</dd>";
}

static std::string Facts(int language, const json& l)
{
  std::string author = l.value("author", "");
  std::string out = "<dl class=\"facts\">";
  out += Fact(language, word_maker, "<a href=\"/players/" + UrlPart(author) + "\">" + Html(author) + "</a>");
  out += Fact(language, word_size, NumberIn(l, "width") + "&times;" + NumberIn(l, "height"));
  out += Fact(language, word_published, Html(Day(l.value("published", json()))));
  out += Fact(language, word_plays, NumberIn(l, "plays"));
  out += Fact(language, word_tried, NumberIn(l, "tried"));
  out += Fact(language, word_finishes, NumberIn(l, "finishes"));
  out += Fact(language, word_clear_rate, ClearRate(l));
  out += Fact(language, word_thumbs_up, NumberIn(l, "rating"));
  out += Fact(language, word_author_score, NumberIn(l, "author_score"));
  json authorScore = l.value("author_score", json());
  if (authorScore.is_number())
    out += Fact(language, word_medal_scores, Html(MedalScores(language, authorScore.get<int>())));
  return out + "</dl>";
}

static std::string Records(int language, const json& records)
{
  if (!records.is_array() || records.empty())
    return "<p>" + Html(Word(language, word_no_records)) + "</p>";
  std::string out = "<table class=\"records\"><thead><tr><th>" + Html(Word(language, word_rank)) + "</th><th>" +
                    Html(Word(language, word_name)) + "</th><th>" + Html(Word(language, word_score)) + "</th><th>" +
                    Html(Word(language, word_date)) + "</th><th>" + Html(Word(language, word_replay)) +
                    "</th></tr></thead><tbody>";
  for (const json& r : records) {
    std::string name = r.value("name", "");
    out += "<tr><td>" + NumberIn(r, "rank") + "</td><td><a href=\"/players/" + UrlPart(name) + "\">" + Html(name) +
           "</a></td><td>" + NumberIn(r, "score") + "</td><td>" + Html(Day(r.value("date", json()))) + "</td><td><a href=\"/api/v1/runs/" +
           NumberIn(r, "run") + "/replay\">" + Html(Word(language, word_replay)) + "</a></td></tr>";
  }
  return out + "</tbody></table>";
}

static void LevelRoute(const Request& req, Response& res)
{
  PageGuarded(req, res, [&] {
    std::string id = req.matches[1];
    json level, records;
    InTransaction(tx_read, [&](DbTx& tx) {
      level = LevelFacts(tx, id);
      records = LevelRecords(tx, id, PageRecords, nullptr).body["records"];
    });
    int language = PageLanguage(req);
    std::string title = level.value("title", ""), picture = "/levels/" + id + ".png";
    PageMeta meta{title, Word(language, word_level_description), picture};
    std::string page = PageStart(req, language, meta);
    page += "<h1>" + Html(title) + "</h1><img class=\"picture\" src=\"" + picture + "\" alt=\"" + Html(title) + "\">";
    page += "<p class=\"actions\"><a class=\"play\" href=\"/play/" + id + "\">" +
            Html(Word(language, word_play_in_browser)) + "</a><a class=\"download\" href=\"/levels/" + id +
            ".dat\" download>" + Html(Word(language, word_download)) + "</a></p>";
    page += Facts(language, level);
    page += "<h2>" + Html(Word(language, word_top_records)) + "</h2>" + Records(language, records);
    SendPage(res, 200, page + PageEnd(language));
  });
}

static void DownloadRoute(const Request& req, Response& res)
{
  PageGuarded(req, res, [&] {
    std::string id = req.matches[1], text;
    int shipped = 0;
    InTransaction(tx_read, [&](DbTx& tx) {
      json level = LevelFacts(tx, id);
      shipped = level.value("shipped", 0);
      text = LevelBody(tx, id);
    });
    res.set_header("Content-Disposition",
                   "attachment; filename=\"level" + std::to_string(DownloadSlot(id, shipped)) + ".dat\"");
    res.set_content(text, "text/plain; charset=utf-8");
  });
}

void AddLevelPages(httplib::Server& server)
{
  server.Get("/levels/([a-z2-7]{16})", LevelRoute);
  server.Get("/levels/([a-z2-7]{16})\\.dat", DownloadRoute);
}
