// hub_page: what every HTML page of the hub shares: the escaping of text a
// player wrote, links, the head with its link-preview tags, the foot, a list
// of levels, and the answer itself. Pages work without scripts and fit a
// screen 360 pixels wide.
//   PageMeta                      a page's title, description and preview picture
//   Html(text)                    text safe in an element or a quoted attribute (& < > " ' escaped)
//   UrlPart(text)                 text percent-encoded for one part of a path or query
//   PageLanguage(req)             the language of the page, from Accept-Language (hub/hub_accept)
//   PageStart(req, language, meta)  the document up to the opening of <main>
//   PageEnd(language)             the closing of <main>, the foot, the end of the document
//   NumberIn(object, key)         a whole number of a JSON answer as text; "-" when it is missing or null
//   ClearRate(level)              a level row's clear rate in percent; "-" while nobody but its author tried it
//   LevelList(language, levels)   <ul> of level rows (JSON of the API's level lists); a line when empty
//   SendPage(res, status, html)   the answer, text/html, varying by Accept-Language
//   SendMissing(req, res)         the 404 page
//   PageGuarded(req, res, build)  runs build: a Refusal answers the 404 page, a database
//                                 failure a 503 with Retry-After
#pragma once

#include <functional>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <string>

struct PageMeta {
  std::string title;         // the page's own title, "" for the hub's
  std::string description;
  std::string picture;       // a path on this hub ("/levels/ID.png"), "" for none
};

std::string Html(const std::string& text);
std::string UrlPart(const std::string& text);
int PageLanguage(const httplib::Request& req);
std::string PageStart(const httplib::Request& req, int language, const PageMeta& meta);
std::string PageEnd(int language);
std::string NumberIn(const nlohmann::json& object, const char* key);
std::string ClearRate(const nlohmann::json& level);
std::string LevelList(int language, const nlohmann::json& levels);
void SendPage(httplib::Response& res, int status, const std::string& html);
void SendMissing(const httplib::Request& req, httplib::Response& res);
void PageGuarded(const httplib::Request& req, httplib::Response& res, const std::function<void()>& build);
