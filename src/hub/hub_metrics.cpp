// hub_metrics: the counts, the route table and the exposition.
#include "hub/hub_metrics.h"

#include "hub/hub_cache.h"
#include "hub/hub_options.h"
#include "hub/hub_rate.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <nlohmann/json.hpp>

static const long long MicrosecondsPerSecond = 1000000;

struct RouteEntry {
  const char* method;    // nullptr: any
  const char* pattern;   // path segments; "*" is any one segment, "**" ends with any rest
  const char* name;
};

static const RouteEntry Routes[] = {
  {"POST", "/api/v1/players", "players"},
  {"POST", "/api/v1/levels", "publish"},
  {"GET", "/api/v1/levels", "list"},
  {"GET", "/api/v1/levels/*", "level"},
  {"DELETE", "/api/v1/levels/*", "withdraw"},
  {"POST", "/api/v1/levels/*/runs", "runs"},
  {"GET", "/api/v1/levels/*/records", "records"},
  {"POST", "/api/v1/levels/*/rating", "rating"},
  {"GET", "/api/v1/runs/*/replay", "replay"},
  {"GET", "/api/v1/health", "health"},
  {"OPTIONS", "/api/v1/**", "options"},
  {"GET", "/play/**", "play"},
  {"GET", "/metrics", "metrics"},
  {nullptr, "", "other"},
};
static_assert(sizeof(Routes) / sizeof(Routes[0]) == RouteCount, "a route table entry for each route");

// The statuses the hub answers with; any other counts as "other".
static const int Statuses[] = {200, 201, 204, 304, 400, 401, 403, 404, 405, 409, 413, 414, 415, 422, 429, 431, 500, 503};
static const int StatusCount = sizeof(Statuses) / sizeof(Statuses[0]);

// Upper bounds of the latency buckets, seconds; one more bucket holds the rest.
static const double Bounds[] = {0.001, 0.0025, 0.005, 0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1, 2.5, 5, 10};
static const int BoundCount = sizeof(Bounds) / sizeof(Bounds[0]);

static const char* const RateNames[] = {"publish_player", "publish_address", "runs_player", "runs_address",
                                        "players_address", "reports_player", "reports_address",
                                        "tries_player", "tries_address"};
static_assert(sizeof(RateNames) / sizeof(RateNames[0]) == RateKindCount, "a name for each rate limit");

struct Histogram {
  std::atomic<long long> buckets[BoundCount + 1];   // not cumulative: each holds its own range
  std::atomic<long long> count;
  std::atomic<long long> sumMicroseconds;
};

struct MetricsRecord {
  std::atomic<long long> requests[RouteCount][StatusCount + 1];
  Histogram latency[RouteCount];
  std::atomic<long long> dbErrors;
  std::atomic<long long> rateRefusals[RateKindCount];
  std::atomic<long long> connectionRefusals;
  std::atomic<long long> verifyWaiting;
  Histogram verifyWait;
  Histogram verify;
};

static MetricsRecord Metrics;   // zeroed as a static

// Does path match pattern segment by segment?
static bool PathMatches(const char* pattern, const std::string& path)
{
  size_t p = 0, at = 0;
  std::string pat = pattern;
  for (;;) {
    if (pat.compare(p, 2, "**") == 0)
      return at < path.size();
    if (p < pat.size() && pat[p] == '*') {
      size_t end = path.find('/', at);
      if (end == at || at >= path.size())
        return false;
      at = end == std::string::npos ? path.size() : end;
      p++;
      continue;
    }
    if (p == pat.size() || at == path.size())
      return p == pat.size() && at == path.size();
    if (pat[p] != path[at])
      return false;
    p++;
    at++;
  }
}

int RouteOf(const std::string& method, const std::string& path)
{
  for (int r = 0; r < route_other; r++)
    if ((method == Routes[r].method || (method == "HEAD" && Routes[r].method[0] == 'G')) &&
        PathMatches(Routes[r].pattern, path))
      return r;
  return route_other;
}

const char* RouteName(int route)
{
  return Routes[route].name;
}

static void Observe(Histogram* h, double seconds)
{
  int b = 0;
  while (b < BoundCount && seconds > Bounds[b])
    b++;
  h->buckets[b]++;
  h->count++;
  h->sumMicroseconds += (long long)(seconds * MicrosecondsPerSecond);
}

void CountRequest(int route, int status, double seconds)
{
  int s = 0;
  while (s < StatusCount && Statuses[s] != status)
    s++;
  Metrics.requests[route][s]++;
  Observe(&Metrics.latency[route], seconds);
}

void CountDbError() { Metrics.dbErrors++; }
void CountRateRefusal(int kind) { Metrics.rateRefusals[kind]++; }
void CountConnectionRefusal() { Metrics.connectionRefusals++; }
void VerifyWaitBegins() { Metrics.verifyWaiting++; }

void VerifyWaitEnds(double seconds)
{
  Metrics.verifyWaiting--;
  Observe(&Metrics.verifyWait, seconds);
}

void CountVerify(double seconds) { Observe(&Metrics.verify, seconds); }

static void Header(std::string* out, const char* name, const char* type, const char* help)
{
  *out += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
}

static void Sample(std::string* out, const char* name, const std::string& labels, long long value)
{
  *out += name + (labels.empty() ? "" : "{" + labels + "}") + " " + std::to_string(value) + "\n";
}

static void HistogramLines(std::string* out, const char* name, const std::string& labels, const Histogram& h)
{
  std::string comma = labels.empty() ? "" : labels + ",";
  long long below = 0;
  char bound[32];
  for (int b = 0; b < BoundCount; b++) {
    below += h.buckets[b];
    snprintf(bound, sizeof bound, "%g", Bounds[b]);
    Sample(out, (std::string(name) + "_bucket").c_str(), comma + "le=\"" + bound + "\"", below);
  }
  long long count = h.count;   // read once: the +Inf bucket and the count agree
  Sample(out, (std::string(name) + "_bucket").c_str(), comma + "le=\"+Inf\"", std::max(count, below));
  snprintf(bound, sizeof bound, "%.6f", (double)h.sumMicroseconds / MicrosecondsPerSecond);
  *out += std::string(name) + "_sum" + (labels.empty() ? "" : "{" + labels + "}") + " " + bound + "\n";
  Sample(out, (std::string(name) + "_count").c_str(), labels, std::max(count, below));
}

std::string MetricsText()
{
  std::string out;
  Header(&out, "tetherorb2_hub_requests_total", "counter", "Requests answered, by route and status.");
  for (int r = 0; r < RouteCount; r++)
    for (int s = 0; s <= StatusCount; s++)
      if (Metrics.requests[r][s])
        Sample(&out, "tetherorb2_hub_requests_total",
               std::string("route=\"") + Routes[r].name + "\",status=\"" +
                   (s < StatusCount ? std::to_string(Statuses[s]) : "other") + "\"",
               Metrics.requests[r][s]);
  Header(&out, "tetherorb2_hub_request_seconds", "histogram", "Time from a request's routing to its answer.");
  for (int r = 0; r < RouteCount; r++)
    if (Metrics.latency[r].count)
      HistogramLines(&out, "tetherorb2_hub_request_seconds", std::string("route=\"") + Routes[r].name + "\"",
                     Metrics.latency[r]);
  Header(&out, "tetherorb2_hub_verify_waiting", "gauge", "Judgements waiting for a free verifier process.");
  Sample(&out, "tetherorb2_hub_verify_waiting", "", Metrics.verifyWaiting);
  Header(&out, "tetherorb2_hub_verify_wait_seconds", "histogram", "Time a judgement waited for a verifier process.");
  HistogramLines(&out, "tetherorb2_hub_verify_wait_seconds", "", Metrics.verifyWait);
  Header(&out, "tetherorb2_hub_verify_seconds", "histogram", "Time a verifier process took over a judgement.");
  HistogramLines(&out, "tetherorb2_hub_verify_seconds", "", Metrics.verify);
  Header(&out, "tetherorb2_hub_db_errors_total", "counter", "Requests the database failed.");
  Sample(&out, "tetherorb2_hub_db_errors_total", "", Metrics.dbErrors);
  Header(&out, "tetherorb2_hub_rate_refusals_total", "counter", "Requests refused by a rate limit, by limit.");
  for (int k = 0; k < RateKindCount; k++)
    Sample(&out, "tetherorb2_hub_rate_refusals_total", std::string("limit=\"") + RateNames[k] + "\"",
           Metrics.rateRefusals[k]);
  Header(&out, "tetherorb2_hub_connection_refusals_total", "counter",
         "Connections turned away: their address held its share of connections already.");
  Sample(&out, "tetherorb2_hub_connection_refusals_total", "", Metrics.connectionRefusals);
  long long entries, bytes, hits, misses;
  CacheCounts(&entries, &bytes, &hits, &misses);
  Header(&out, "tetherorb2_hub_cache_entries", "gauge", "List pages and leaderboards kept in memory.");
  Sample(&out, "tetherorb2_hub_cache_entries", "", entries);
  Header(&out, "tetherorb2_hub_cache_bytes", "gauge", "Bytes of the answers kept in memory.");
  Sample(&out, "tetherorb2_hub_cache_bytes", "", bytes);
  Header(&out, "tetherorb2_hub_cache_hits_total", "counter", "Reads answered from memory.");
  Sample(&out, "tetherorb2_hub_cache_hits_total", "", hits);
  Header(&out, "tetherorb2_hub_cache_misses_total", "counter", "Reads that went to the database.");
  Sample(&out, "tetherorb2_hub_cache_misses_total", "", misses);
  return out;
}

static bool IsLoopback(const std::string& address)
{
  unsigned char bytes[sizeof(in6_addr)];
  static const unsigned char Loopback6[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  if (inet_pton(AF_INET, address.c_str(), bytes) == 1)
    return bytes[0] == 127;
  if (inet_pton(AF_INET6, address.c_str(), bytes) != 1)
    return false;
  static const unsigned char Mapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
  return std::equal(Loopback6, Loopback6 + 16, bytes) || (std::equal(Mapped, Mapped + 12, bytes) && bytes[12] == 127);
}

// The same length and every byte compared, whatever the first difference.
static bool SameToken(const std::string& a, const std::string& b)
{
  if (a.size() != b.size())
    return false;
  unsigned char differ = 0;
  for (size_t i = 0; i < a.size(); i++)
    differ |= (unsigned char)(a[i] ^ b[i]);
  return differ == 0;
}

// Served to the metrics token, or to a peer on this machine that is not a
// proxy passing a request on: a proxy on the same machine connects from
// loopback too, so a forwarded request needs the token.
static bool MayReadMetrics(const httplib::Request& req)
{
  const std::string& token = HubOptions.metricsToken;
  if (!token.empty() && SameToken(req.get_header_value("Authorization"), "Bearer " + token))
    return true;
  bool forwarded = req.has_header("X-Forwarded-For") || req.has_header("Forwarded") || req.has_header("X-Real-IP");
  return IsLoopback(req.remote_addr) && !forwarded;
}

void AddMetricsRoute(httplib::Server& server)
{
  server.Get("/metrics", [](const httplib::Request& req, httplib::Response& res) {
    if (!MayReadMetrics(req)) {
      res.status = 403;
      res.set_content(nlohmann::json{{"error", "the metrics are served on loopback, or with the metrics token"}}.dump(),
                      "application/json");
      return;
    }
    res.set_content(MetricsText(), "text/plain; version=0.0.4; charset=utf-8");
  });
}
