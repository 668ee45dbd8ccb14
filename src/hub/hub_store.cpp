// hub_store: the hub's players, a player's first try of a level, and the
// date its answers give.
#include "hub/hub_store.h"
#include "hub/hub_refusal.h"
#include "hub/hub_requests.h"

#include <ctime>

using nlohmann::json;

std::string IsoDate(long long seconds)
{
  time_t t = (time_t)seconds;
  struct tm utc;
  gmtime_r(&t, &utc);
  char text[32];
  strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

Player FindPlayer(DbTx& tx, const std::string& tokenHash)
{
  DbRows r;
  tx.Run("SELECT id, name FROM players WHERE token_hash = ?", {Text(tokenHash)}, &r);
  if (r.count == 0)
    throw Refusal{401, "unknown token: register it first with POST /api/v1/players"};
  return Player{r.Number(0, 0), r.At(0, 1)};
}

Answer RegisterPlayer(DbTx& tx, const std::string& name, const std::string& tokenHash)
{
  std::string key = NameKey(name);
  if (tx.Run("INSERT INTO players (name, name_key, token_hash, created) VALUES (?, ?, ?, ?) ON CONFLICT DO NOTHING",
             {Text(name), Text(key), Text(tokenHash), Num(time(nullptr))}) == 1)
    return Answer{201, json{{"name", name}}};
  DbRows r;
  tx.Run("SELECT name, name_key FROM players WHERE token_hash = ?", {Text(tokenHash)}, &r);
  if (r.count == 1 && r.At(0, 1) == key)
    return Answer{200, json{{"name", r.At(0, 0)}}};   // a retried registration
  if (r.count == 1)
    throw Refusal{409, "this token is already registered as " + r.At(0, 0)};
  throw Refusal{409, "the name " + name + " is taken"};
}

// The primary key makes the first try once even under concurrent requests
// of the same player: the second insert waits for the first and then does nothing.
bool CountTry(DbTx& tx, const Player& player, const std::string& id, long long now)
{
  return tx.Run("INSERT INTO tries (level_id, player_id, created) VALUES (?, ?, ?)"
                " ON CONFLICT (level_id, player_id) DO NOTHING",
                {Text(id), Num(player.id), Num(now)}) == 1;
}
