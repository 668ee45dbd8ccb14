// hub_api: the HTTP interface, version 1 (README: "Running a level hub"):
//
//   POST   /api/v1/players                    {"name"} + token: 201 {"name"}; 409 for a taken name
//   POST   /api/v1/levels                     {"level", "replay"} + token: 201 {"id", "run"}; 200 when listed, recording nothing
//   GET    /api/v1/levels?sort=&page=         20 levels a page
//   GET    /api/v1/levels/ID                  the level's text
//   DELETE /api/v1/levels/ID                  + token of its author: 204
//   POST   /api/v1/levels/ID/runs             {"replay"} + token: 201 {"run", "score", "best", "rank", "record"}
//   GET    /api/v1/levels/ID/records?limit=   the leaderboard; with a token the player's own rank
//   GET    /api/v1/runs/RUN/replay            a run's replay text
//   POST   /api/v1/levels/ID/rating           {"up"} + token of a player who finished it
//   GET    /api/v1/health                     200 {"ok": true} while the database answers
//   GET    /metrics                           the counts of hub_metrics, for loopback or its token
//
// Every refusal is a 4xx with {"error": why}.
//   AddApiRoutes(server)      registers the routes
//   SendJson / SendError      a JSON answer; {"error": why}
#pragma once

#include <httplib.h>
#include <nlohmann/json.hpp>
#include <string>

void AddApiRoutes(httplib::Server& server);
void SendJson(httplib::Response& res, int status, const nlohmann::json& body);
void SendError(httplib::Response& res, int status, const std::string& why);
