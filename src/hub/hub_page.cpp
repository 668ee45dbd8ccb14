// hub_page: escaping, links, the frame of every page and the level rows.
#include "hub/hub_page.h"

#include "hub/hub_accept.h"
#include "hub/hub_db.h"
#include "hub/hub_metrics.h"
#include "hub/hub_options.h"
#include "hub/hub_refusal.h"
#include "hub/hub_words.h"

#include "game/base/lang.h"

#include <cstdio>

using nlohmann::json;

static const int PercentMax = 100;
static const int RetryBusySeconds = 1;

// One small sheet for every page: a single column that wraps long words, so
// that nothing is wider than a phone's screen.
static const char Style[] =
  "*{box-sizing:border-box}"
  "body{margin:0 auto;max-width:52rem;padding:0 .75rem 2rem;font:16px/1.45 sans-serif;color:#1d2330;"
  "background:#f4f6fa;overflow-wrap:anywhere}"
  "header{padding:.6rem 0;border-bottom:2px solid #3a6fd8;margin-bottom:1rem}"
  "header a{font-weight:bold;font-size:1.2rem;text-decoration:none;color:#1d2330}"
  "a{color:#2553b3}img{max-width:100%;height:auto}"
  "h1{font-size:1.5rem;margin:.5rem 0}h2{font-size:1.2rem;margin:1.2rem 0 .4rem}"
  "ul.levels{list-style:none;padding:0;margin:0}"
  "ul.levels li{display:flex;gap:.6rem;padding:.5rem 0;border-bottom:1px solid #d8dde8}"
  "ul.levels img{width:5rem;flex:none;image-rendering:pixelated;background:#222}"
  ".facts{display:block;font-size:.85rem;color:#4b5468}"
  "nav.tabs a,nav.pages a{display:inline-block;margin:.2rem .8rem .2rem 0}"
  "nav.tabs a[aria-current]{font-weight:bold;color:#1d2330;text-decoration:none}"
  "form.search{display:flex;flex-wrap:wrap;gap:.4rem;margin:.6rem 0}"
  "form.search input[type=search]{flex:1 1 12rem;min-width:0;padding:.4rem;font-size:1rem}"
  "form.search select,form.search button{padding:.4rem;font-size:1rem;max-width:100%}"
  "table{width:100%;border-collapse:collapse;table-layout:fixed}"
  "th,td{text-align:left;padding:.3rem .25rem;border-bottom:1px solid #d8dde8;vertical-align:top}"
  "dl.facts{display:grid;grid-template-columns:auto 1fr;gap:.2rem .8rem;font-size:1rem;color:#1d2330}"
  "dt{font-weight:bold}dd{margin:0}"
  ".actions a{display:inline-block;margin:.3rem .8rem .3rem 0;padding:.45rem .8rem;background:#3a6fd8;"
  "color:#fff;border-radius:.3rem;text-decoration:none}"
  "img.picture{display:block;width:100%;image-rendering:pixelated;background:#222}";

std::string Html(const std::string& text)
{
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
    case '&': out += "&amp;"; break;
    case '<': out += "&lt;"; break;
    case '>': out += "&gt;"; break;
    case '"': out += "&quot;"; break;
    case '\'': out += "&#39;"; break;
    default: out += c;
    }
  }
  return out;
}

std::string UrlPart(const std::string& text)
{
  static const char Hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                 c == '.' || c == '_' || c == '~';
    if (plain) {
      out += (char)c;
    } else {
      out += '%';
      out += Hex[c >> 4];
      out += Hex[c & 15];
    }
  }
  return out;
}

int PageLanguage(const httplib::Request& req)
{
  return AcceptedLanguage(req.get_header_value("Accept-Language"));
}

// "pt-BR" for the catalogue "pt_BR".
static std::string LanguageTag(int language)
{
  std::string tag = Languages[language].code;
  for (char& c : tag)
    if (c == '_')
      c = '-';
  return tag;
}

// This hub's address as the browser reached it, for the link-preview tags.
static std::string HubAddress(const httplib::Request& req)
{
  bool secure = HubOptions.trustProxy && req.get_header_value("X-Forwarded-Proto") == "https";
  return std::string(secure ? "https://" : "http://") + req.get_header_value("Host");
}

std::string PageStart(const httplib::Request& req, int language, const PageMeta& meta)
{
  std::string hub = Word(language, word_hub_title);
  std::string title = meta.title.empty() ? hub : meta.title + " - " + hub;
  std::string address = HubAddress(req);
  std::string page = "<!DOCTYPE html>\n<html lang=\"" + LanguageTag(language) + "\"><head><meta charset=\"utf-8\">"
                     "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
                     "<title>" + Html(title) + "</title>"
                     "<meta name=\"description\" content=\"" + Html(meta.description) + "\">"
                     "<meta property=\"og:type\" content=\"website\">"
                     "<meta property=\"og:site_name\" content=\"" + Html(hub) + "\">"
                     "<meta property=\"og:title\" content=\"" + Html(meta.title.empty() ? hub : meta.title) + "\">"
                     "<meta property=\"og:description\" content=\"" + Html(meta.description) + "\">"
                     "<meta property=\"og:url\" content=\"" + Html(address + req.path) + "\">";
  if (!meta.picture.empty())
    page += "<meta property=\"og:image\" content=\"" + Html(address + meta.picture) + "\">"
            "<meta name=\"twitter:card\" content=\"summary_large_image\">";
  page += "<style>" + std::string(Style) + "</style></head><body><header><a href=\"/\">" + Html(hub) +
          "</a></header><main>";
  return page;
}

std::string PageEnd(int language)
{
  return "</main><footer><p><a href=\"/\">" + Html(Word(language, word_home)) + "</a> &middot; <a href=\"/search\">" +
         Html(Word(language, word_search)) + "</a></p></footer></body></html>\n";
}


std::string NumberIn(const json& object, const char* key)
{
  if (!object.is_object() || !object.contains(key) || !object[key].is_number())
    return "-";
  return std::to_string(object[key].get<long long>());
}

std::string ClearRate(const json& level)
{
  json rate = level.is_object() ? level.value("clear_rate", json()) : json();
  if (NumberIn(level, "tried") == "-" || NumberIn(level, "tried") == "0" || !rate.is_number())
    return "-";
  return std::to_string((int)(rate.get<double>() * PercentMax + 0.5)) + "%";
}

std::string LevelList(int language, const json& levels)
{
  if (!levels.is_array() || levels.empty())
    return "<p>" + Html(Word(language, word_no_levels)) + "</p>";
  std::string out = "<ul class=\"levels\">";
  for (const json& l : levels) {
    std::string id = l.value("id", ""), link = "/levels/" + UrlPart(id);
    out += "<li><a href=\"" + link + "\"><img src=\"" + link + ".png\" alt=\"\" loading=\"lazy\"></a><div>"
           "<a href=\"" + link + "\"><strong>" + Html(l.value("title", "")) + "</strong></a> &middot; "
           "<a href=\"/players/" + UrlPart(l.value("author", "")) + "\">" + Html(l.value("author", "")) + "</a>"
           "<span class=\"facts\">" + NumberIn(l, "width") + "&times;" + NumberIn(l, "height") + " &middot; " +
           Html(Word(language, word_plays)) + " " + NumberIn(l, "plays") + " &middot; " +
           Html(Word(language, word_finishes)) + " " + NumberIn(l, "finishes");
    out += " &middot; " + Html(Word(language, word_clear_rate)) + " " + ClearRate(l);
    out += " &middot; " + Html(Word(language, word_thumbs_up)) + " " + NumberIn(l, "rating") + "</span></div></li>";
  }
  return out + "</ul>";
}

void SendPage(httplib::Response& res, int status, const std::string& html)
{
  res.status = status;
  res.set_header("Vary", "Accept-Language");
  res.set_content(html, "text/html; charset=utf-8");
}

void SendMissing(const httplib::Request& req, httplib::Response& res)
{
  int language = PageLanguage(req);
  PageMeta meta{Word(language, word_not_found), Word(language, word_hub_description), ""};
  SendPage(res, 404, PageStart(req, language, meta) + "<h1>" + Html(meta.title) + "</h1>" + PageEnd(language));
}

void PageGuarded(const httplib::Request& req, httplib::Response& res, const std::function<void()>& build)
{
  try {
    build();
  } catch (const Refusal&) {
    SendMissing(req, res);
  } catch (const DbError& e) {
    CountDbError();
    fprintf(stderr, "tetherorb2-hub: %s\n", e.what());
    res.status = 503;
    res.set_header("Retry-After", std::to_string(RetryBusySeconds));
    res.set_content("The hub's database is busy or out of reach: try again.\n", "text/plain; charset=utf-8");
  }
}
