// hub_api: the HTTP interface, version 1 (README: "Running a level hub"):
//
//   POST   /api/v1/players                    {"name"} + token: 201 {"name"}; 409 for a taken name
//   POST   /api/v1/levels                     {"level", "replay"} + token: 201 {"id", "run"}; 200 when listed, recording nothing
//   GET    /api/v1/levels?sort=&page=&q=&size=&difficulty=   20 levels a page, searched and filtered (hub_find.h)
//   GET    /api/v1/levels/ID                  the level's text
//   DELETE /api/v1/levels/ID                  + token of its author: 204
//   POST   /api/v1/levels/ID/runs             {"replay"} + token: 201 {"run", "score", "best", "rank", "record"}
//   GET    /api/v1/levels/ID/records?limit=   the leaderboard; with a token the player's own rank
//   GET    /api/v1/runs/RUN/replay            a run's replay text
//   POST   /api/v1/levels/ID/rating           {"up"} + token of a player who finished it
//   GET    /api/v1/daily                      the level of the day, a level row with its "date"
//   GET    /api/v1/players/NAME               {"name", "levels", "records", "medals"}
//   GET    /levels/ID.png                     the level's picture (hub_picture.h)
//   POST   /api/v1/levels/ID/reports          {"reason": "broken"|"offensive"|"copied"} + token: 204 (hub_reports.h)
//   POST   /api/v1/levels/ID/tries            + token (no body, or {}): 204; the player played it (hub_tries.h)
//   GET    /api/v1/health                     200 {"ok": true} while the database answers
//   GET    /metrics                           the counts of hub_metrics, for loopback or its token
//
// Every refusal is a 4xx with {"error": why}; every GET answered 200 carries
// an ETag and a Cache-Control, and If-None-Match gets 304 (hub_etag.h).
// A level row (hub_store_levels.h LevelRow) is {"id", "title", "author", "width",
// "height", "plays", "tried", "finishes", "clear_rate", "rating", "record",
// "author_score", "shipped", "published"}.
//   AddApiRoutes(server)      registers the routes
//   SendJson / SendError      a JSON answer; {"error": why}
// For the routes of other modules:
//   Guarded(res, handler)     runs handler, answering what it throws (Refusal: its 4xx; DbError: 503 or 500)
//   SendAnswer(res, answer)   an Answer as JSON
//   ClientKey(req)            the client's address as the rate limits count it
//   Limit(kind, key, n)       takes a request from a rate limit; Refusal 429 past it
//   TokenHashOf(req)          the hash of the bearer token; Refusal 401 without one
//   BodyOf(req)               the JSON body; Refusal 400 when it is not one
//   LevelIdIn(req)            the level id of the path's first group; Refusal 404 when it is none
#pragma once

#include "hub/hub_requests.h"

#include <functional>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <string>

struct Answer;

void AddApiRoutes(httplib::Server& server);
void SendJson(httplib::Response& res, int status, const nlohmann::json& body);
void SendError(httplib::Response& res, int status, const std::string& why);

void Guarded(httplib::Response& res, const std::function<void()>& handler);
void SendAnswer(httplib::Response& res, const Answer& a);
std::string ClientKey(const httplib::Request& req);
void Limit(int kind, const std::string& key, long perMinute);
std::string TokenHashOf(const httplib::Request& req);
Body BodyOf(const httplib::Request& req);
std::string LevelIdIn(const httplib::Request& req);
