// hub_metrics: what this copy of the hub has done since it started, in
// fixed tables of atomic counts, and their text for a Prometheus scraper at
// GET /metrics. Nothing is keyed on what a client sends: a request counts
// under one of the routes below (route_other for anything else) and one
// of a fixed list of statuses.
//   route_*                        the routes, by method and path
//   RouteOf(method, path)          the route a request took
//   CountRequest(route, status, seconds)   one answered request
//   CountDbError() / CountRateRefusal(kind)   a database failure; a request over a rate limit
//   CountConnectionRefusal()       a connection past its address's share (hub_conns.h)
//   VerifyWaitBegins() / VerifyWaitEnds(seconds)   a judgement waiting for a verifier
//   CountVerify(seconds)           one judgement's time in a verifier process
//   MetricsText()                  every count in the text exposition format
//   AddMetricsRoute(server)        GET /metrics, for loopback without a proxy or the metrics token
#pragma once

#include <httplib.h>
#include <string>

enum {
  route_players,
  route_publish,
  route_list,
  route_level,
  route_withdraw,
  route_runs,
  route_records,
  route_rating,
  route_replay,
  route_health,
  route_options,
  route_play,
  route_metrics,
  route_other,
  RouteCount
};

int RouteOf(const std::string& method, const std::string& path);
const char* RouteName(int route);

void CountRequest(int route, int status, double seconds);
void CountDbError();
void CountRateRefusal(int kind);
void CountConnectionRefusal();
void VerifyWaitBegins();
void VerifyWaitEnds(double seconds);
void CountVerify(double seconds);

std::string MetricsText();
void AddMetricsRoute(httplib::Server& server);
