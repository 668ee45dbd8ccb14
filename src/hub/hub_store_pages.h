// hub_store_pages: what the hub's pages read that the API's lists do not
// give: one listed level's row, in the shape of the API's level lists
// (hub_store's LevelPage), so that a page and the API show the same numbers.
//   LevelFacts(tx, id)    the level's row; Refusal 404 when it is not listed
//   DownloadSlot(id, shipped)  the N of the levelN.dat a download is named
//   PlayerAnswer(tx, name)   {"name", "levels", "records", "medals"}: a player's levels, their
//                            records with their rank, best first, and their medal counts; Refusal 404
//   SearchAnswer(tx, q, size, difficulty, page)  {"page", "more", "levels"} whose title or maker holds q
#pragma once

#include "hub/hub_db.h"

#include <nlohmann/json.hpp>
#include <string>

nlohmann::json LevelFacts(DbTx& tx, const std::string& id);
int DownloadSlot(const std::string& id, int shipped);
struct Answer;
Answer PlayerAnswer(DbTx& tx, const std::string& name);
Answer SearchAnswer(DbTx& tx, const std::string& q, const std::string& size, const std::string& difficulty, long page);
