// hub_api: the routes of interface version 1. Each handler reads and bounds
// what the client sent, takes it from the rate limits (a player's only once
// the token is known), asks the verifier processes about levels and
// replays outside any transaction, and then makes all of the request's
// changes in one transaction.
#include "hub/hub_api.h"

#include "hub/hub_access.h"
#include "hub/hub_body.h"
#include "hub/hub_cache.h"
#include "hub/hub_find.h"
#include "hub/hub_ids.h"
#include "hub/hub_known.h"
#include "hub/hub_metrics.h"
#include "hub/hub_options.h"
#include "hub/hub_rate.h"
#include "hub/hub_refusal.h"
#include "hub/hub_requests.h"
#include "hub/hub_store_levels.h"
#include "hub/hub_store_runs.h"
#include "hub/hub_verify.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>

using httplib::Request;
using httplib::Response;
using nlohmann::json;

static const int RetryBusySeconds = 1;
static const char LevelPath[] = "/api/v1/levels/([^/]+)";

void SendJson(Response& res, int status, const json& body)
{
  res.status = status;
  res.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace), "application/json");
}

void SendError(Response& res, int status, const std::string& why)
{
  SendJson(res, status, json{{"error", why}});
}

// Runs a handler and turns what it throws into the answer: a Refusal into
// its 4xx, a busy or lost database into 503, anything else into 500.
void Guarded(Response& res, const std::function<void()>& handler)
{
  try {
    handler();
  } catch (const Refusal& r) {
    SendError(res, r.status, r.why);
    if (r.retryAfter > 0)
      res.set_header("Retry-After", std::to_string(r.retryAfter));
    if (r.status == 401)
      res.set_header("WWW-Authenticate", "Bearer");
  } catch (const DbError& e) {
    CountDbError();
    fprintf(stderr, "tetherorb2-hub: %s\n", e.what());
    if (e.kind == dberror_fault) {
      SendError(res, 500, "the hub's database failed");
      return;
    }
    SendError(res, 503, "the hub's database is busy or out of reach: try again");
    res.set_header("Retry-After", std::to_string(RetryBusySeconds));
  }
}

// The client's address as the rate limits count it.
std::string ClientKey(const Request& req)
{
  return AddressKey(ClientAddress(req));
}

void Limit(int kind, const std::string& key, long perMinute)
{
  int wait = TakeRequest(kind, key, perMinute);
  if (wait > 0) {
    CountRateRefusal(kind);
    throw Refusal{429, "too many requests: try again in " + std::to_string(wait) + " s", wait};
  }
}

std::string TokenHashOf(const Request& req)
{
  std::string token, why;
  if (!ReadBearer(req.get_header_value("Authorization"), &token, &why))
    throw Refusal{401, why};
  return TokenHash(token);
}

Body BodyOf(const Request& req)
{
  Body body;
  std::string why;
  if (!ReadJsonBody(req.body, &body, &why))
    throw Refusal{400, why};
  return body;
}

std::string LevelIdIn(const Request& req)
{
  std::string id = req.matches[1];
  if (!IsLevelId(id))
    throw Refusal{404, "no such level: a level id is 16 letters a-z and digits 2-7"};
  return id;
}

static Player Authenticate(const std::string& tokenHash)
{
  Player p;
  InTransaction(tx_single, [&](DbTx& tx) { p = FindPlayer(tx, tokenHash); });
  return p;
}

static Verdict Verify(const std::string& level, const std::string& replay)
{
  static const int StatusOf[] = {200, 400, 413, 422};
  static_assert(sizeof StatusOf / sizeof StatusOf[0] == VerdictCount, "one entry per VerdictCount");
  Verdict v;
  int judged = Judge(HubOptions.game, level, &replay, &v);
  if (judged == judge_busy)
    throw Refusal{503, "the hub is verifying as many runs as it can: try again", RetryBusySeconds};
  if (judged == judge_lost)
    throw Refusal{503, "the replay could not be re-run in time: try again", RetryBusySeconds};
  if (v.error != verdict_ok)
    throw Refusal{StatusOf[v.error], v.why};
  return v;
}

void SendAnswer(Response& res, const Answer& a)
{
  SendJson(res, a.status, a.body);
}

static void RegisterRoute(const Request& req, Response& res)
{
  Guarded(res, [&] {
    Limit(rate_players_address, ClientKey(req), HubOptions.rates.playersPerAddress);
    std::string hash = TokenHashOf(req);
    std::string name = BodyText(BodyOf(req), "name"), why;
    if (!CheckName(name, &why))
      throw Refusal{400, why};
    Answer a;
    InTransaction(tx_write, [&](DbTx& tx) { a = RegisterPlayer(tx, name, hash); });
    SendAnswer(res, a);
  });
}

static void PublishRoute(const Request& req, Response& res)
{
  Guarded(res, [&] {
    std::string hash = TokenHashOf(req);
    Body body = BodyOf(req);
    const std::string& level = BodyText(body, "level");
    const std::string& replay = BodyText(body, "replay");
    Player player = Authenticate(hash);
    Limit(rate_publish_player, std::to_string(player.id), HubOptions.rates.publishPerToken);
    Limit(rate_publish_address, ClientKey(req), HubOptions.rates.publishPerAddress);
    Verdict v = Verify(level, replay);
    Answer a;
    CacheClearer clear(LevelIdOf(v.level));
    InTransaction(tx_write, [&](DbTx& tx) { a = PublishLevel(tx, player, v); });
    SendAnswer(res, a);
  });
}

static void ListRoute(const Request& req, Response& res)
{
  Guarded(res, [&] {
    LevelQuery q;
    q.sort = req.has_param("sort") ? ReadSort(req.get_param_value("sort")) : sort_new;
    if (q.sort < 0)
      throw Refusal{400, "sort is new, plays or rating"};
    q.page = req.has_param("page") ? ReadCount(req.get_param_value("page"), 1, HubOptions.maxPage) : 1;
    if (q.page < 0)
      throw Refusal{400, "page is a number from 1 to " + std::to_string(HubOptions.maxPage)};
    std::string why;
    if (req.has_param("q") && !ReadSearchWords(req.get_param_value("q"), &q, &why))
      throw Refusal{400, why};
    q.size = req.has_param("size") ? ReadLevelSize(req.get_param_value("size")) : size_any;
    if (q.size < 0)
      throw Refusal{400, "size is small (at most " + std::to_string(SmallLevelCells) + " cells), medium (at most " +
                             std::to_string(MediumLevelCells) + ") or large"};
    q.difficulty = req.has_param("difficulty") ? ReadDifficulty(req.get_param_value("difficulty")) : difficulty_any;
    if (q.difficulty < 0)
      throw Refusal{400, "difficulty is easy, medium, hard or unbeaten"};
    Answer a;
    InTransaction(tx_read, [&](DbTx& tx) { a = FindLevels(tx, q); });
    SendAnswer(res, a);
  });
}

static const long long SecondsPerDay = 86400;

static void DailyRoute(const Request&, Response& res)
{
  Guarded(res, [&] {
    Answer a;
    InTransaction(tx_read, [&](DbTx& tx) { a = DailyLevel(tx, time(nullptr) / SecondsPerDay); });
    SendAnswer(res, a);
  });
}

static void PlayerRoute(const Request& req, Response& res)
{
  Guarded(res, [&] {
    std::string name = req.matches[1], why;
    if (!CheckName(name, &why))
      throw Refusal{404, "no player " + name + ": " + why};
    Answer a;
    InTransaction(tx_read, [&](DbTx& tx) { a = PlayerPage(tx, name); });
    SendAnswer(res, a);
  });
}

static void LevelRoute(const Request& req, Response& res)
{
  Guarded(res, [&] {
    std::string id = LevelIdIn(req), text;
    InTransaction(tx_single, [&](DbTx& tx) { text = LevelBody(tx, id); });
    res.set_content(text, "text/plain; charset=utf-8");
  });
}

static void WithdrawRoute(const Request& req, Response& res)
{
  Guarded(res, [&] {
    std::string id = LevelIdIn(req), hash = TokenHashOf(req);
    CacheClearer clear(id);
    InTransaction(tx_write, [&](DbTx& tx) { WithdrawLevel(tx, FindPlayer(tx, hash), id); });
    res.status = 204;
  });
}

static void RunRoute(const Request& req, Response& res)
{
  Guarded(res, [&] {
    std::string id = LevelIdIn(req), hash = TokenHashOf(req);
    Body body = BodyOf(req);
    const std::string& replay = BodyText(body, "replay");
    Player player;
    std::string level;
    if (!KnownPlayer(hash, &player) || !KnownLevel(id, &level)) {
      InTransaction(tx_single, [&](DbTx& tx) { player = FindPlayerAndLevel(tx, hash, id, &level); });
      RememberPlayer(hash, player);
      RememberLevel(id, level);
    }
    Limit(rate_runs_player, std::to_string(player.id), HubOptions.rates.runsPerToken);
    Limit(rate_runs_address, ClientKey(req), HubOptions.rates.runsPerAddress);
    Verdict v = Verify(level, replay);
    Answer a;
    CacheClearer clear(id);
    a = RecordRun(player, id, v);
    SendAnswer(res, a);
  });
}

// The leaderboard is the same for everyone and kept (hub_cache); the
// player's own standing, asked with a token, is read each time and added.
static void RecordsRoute(const Request& req, Response& res)
{
  Guarded(res, [&] {
    std::string id = LevelIdIn(req);
    long long limit = req.has_param("limit") ? ReadCount(req.get_param_value("limit"), 1, HubOptions.maxRecords) : 10;
    if (limit < 0)
      throw Refusal{400, "limit is a number from 1 to " + std::to_string(HubOptions.maxRecords)};
    bool withPlayer = req.has_header("Authorization");
    json standing;
    if (withPlayer) {
      std::string hash = TokenHashOf(req);
      InTransaction(tx_single, [&](DbTx& tx) { standing = TokenStanding(tx, id, hash); });
    }
    std::string key = CacheKey(req), body;
    httplib::Headers kept;
    CacheFill fill(key);
    if (!fill.Found(&body, &kept)) {
      long long note = CacheNote();
      Answer a;
      InTransaction(tx_read, [&](DbTx& tx) { a = LevelRecords(tx, id, limit, nullptr); });
      body = a.body.dump(-1, ' ', false, json::error_handler_t::replace);
      KeepBody(key, id, note, body, {{"Content-Type", "application/json"}});
    }
    if (withPlayer) {   // the kept object, closed with the player's standing
      body.pop_back();
      body += ",\"player\":" + standing.dump(-1, ' ', false, json::error_handler_t::replace) + "}";
    }
    res.set_content(body, "application/json");
  });
}

static void ReplayRoute(const Request& req, Response& res)
{
  Guarded(res, [&] {
    long long run = ReadCount(req.matches[1], 1, INT64_MAX);
    if (run < 0)
      throw Refusal{404, "no such run: a run id is a whole number"};
    std::string text;
    InTransaction(tx_single, [&](DbTx& tx) { text = RunReplay(tx, run); });
    res.set_content(text, "text/plain; charset=utf-8");
  });
}

static void RatingRoute(const Request& req, Response& res)
{
  Guarded(res, [&] {
    std::string id = LevelIdIn(req), hash = TokenHashOf(req);
    bool up = BodyFlag(BodyOf(req), "up");
    Answer a;
    CacheClearer clear(id);
    InTransaction(tx_write, [&](DbTx& tx) { a = RateLevel(tx, FindPlayer(tx, hash), id, up); });
    SendAnswer(res, a);
  });
}

static void HealthRoute(const Request&, Response& res)
{
  Guarded(res, [&] {
    InTransaction(tx_single, [&](DbTx& tx) { tx.Run("SELECT 1", {}); });
    SendJson(res, 200, json{{"ok", true}});
    res.set_header("Cache-Control", "no-store");   // a load balancer's question is always asked anew
  });
}

void AddApiRoutes(httplib::Server& server)
{
  std::string level = LevelPath;
  server.Post("/api/v1/players", WithBody(RegisterRoute));
  server.Post("/api/v1/levels", WithBody(PublishRoute));
  server.Get("/api/v1/levels", CachedRoute(ListRoute));
  server.Get(level, LevelRoute);
  server.Delete(level, WithBody(WithdrawRoute));
  server.Post(level + "/runs", WithBody(RunRoute));
  server.Get(level + "/records", RecordsRoute);
  server.Post(level + "/rating", WithBody(RatingRoute));
  server.Get("/api/v1/runs/([^/]+)/replay", ReplayRoute);
  server.Get("/api/v1/health", HealthRoute);
  server.Get("/api/v1/daily", DailyRoute);
  server.Get("/api/v1/players/([^/]+)", PlayerRoute);
  // The API uses bearer tokens and no cookies, so any page may call it.
  server.Options("/api/v1/.*", [](const Request&, Response& res) {
    res.set_header("Access-Control-Allow-Methods", "GET, POST, DELETE");
    res.set_header("Access-Control-Allow-Headers", "Authorization, Content-Type");
    res.set_header("Access-Control-Max-Age", "86400");
    res.status = 204;
  });
}
