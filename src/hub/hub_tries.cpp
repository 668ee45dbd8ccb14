// hub_tries: the tries table, the try route and what a try changes in its level's counts.
#include "hub/hub_tries.h"

#include "hub/hub_api.h"
#include "hub/hub_body.h"
#include "hub/hub_cache.h"
#include "hub/hub_options.h"
#include "hub/hub_rate.h"
#include "hub/hub_refusal.h"

#include <ctime>

void RecordTry(DbTx& tx, const Player& player, const std::string& id)
{
  bool first = CountTry(tx, player, id, time(nullptr));
  if (tx.Run("UPDATE levels SET tried = tried + CASE WHEN author_id = ? THEN 0 ELSE ? END WHERE id = ? AND state = 0",
             {Num(player.id), Num(first ? 1 : 0), Text(id)}) != 1)
    throw Refusal{404, "no level " + id};
}

static void TryRoute(const httplib::Request& req, httplib::Response& res)
{
  Guarded(res, [&] {
    std::string id = LevelIdIn(req), hash = TokenHashOf(req);
    if (!req.body.empty())
      BodyOf(req);   // nothing is read from it, but it is a JSON object or refused
    Player player;
    InTransaction(tx_single, [&](DbTx& tx) { player = FindPlayer(tx, hash); });
    Limit(rate_tries_player, std::to_string(player.id), HubOptions.rates.triesPerToken);
    Limit(rate_tries_address, ClientKey(req), HubOptions.rates.triesPerAddress);
    CacheClearer clear(id);
    InTransaction(tx_write, [&](DbTx& tx) { RecordTry(tx, player, id); });
    res.status = 204;
  });
}

void AddTryRoutes(httplib::Server& server)
{
  server.Post("/api/v1/levels/([^/]+)/tries", WithBody(TryRoute));
}
