// hub_store_pages: what the hub's pages read that the API's answers do not
// give: one listed level's row, as the API's lists give a level (hub_store_levels's
// LevelRow), so that a page and the API show the same numbers.
//   LevelFacts(tx, id)          the level's row; Refusal 404 when it is not listed
//   DownloadSlot(id, shipped)   the N of the levelN.dat a download is named
#pragma once

#include "hub/hub_db.h"

#include <nlohmann/json.hpp>
#include <string>

nlohmann::json LevelFacts(DbTx& tx, const std::string& id);
int DownloadSlot(const std::string& id, int shipped);
