// hub_tries: the players who played a level, finishing it or not. The game
// sends a try when a run of a hub level ends without finishing; a finishing
// run counts as a try too (StoreRun). One row a player and level, so a
// level's tried (the players besides its author with a try) grows by one
// the first time a player plays it, whichever comes first, a try or a run.
//   CountTry(tx, player, id, now)   hub_store.h: keeps the player's try
//   RecordTry(tx, player, id)       a try sent by the game; Refusal 404 for an unlisted level
//   AddTryRoutes(server)            POST /api/v1/levels/ID/tries
#pragma once

#include "hub/hub_db.h"
#include "hub/hub_store.h"

#include <httplib.h>
#include <string>

void RecordTry(DbTx& tx, const Player& player, const std::string& id);
void AddTryRoutes(httplib::Server& server);
