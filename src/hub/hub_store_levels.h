// hub_store_levels: the levels the hub keeps: publishing, the shipped levels,
// the level list, a level's text, withdrawing and hiding. Every operation runs
// inside the caller's transaction and throws a Refusal for a request it will
// not carry out (hub_store.h).
//   FindPlayerAndLevel(tx, tokenHash, id, body)   the token's player and the listed level's
//                                  canonical text, in one statement; Refusal 401 for an unknown
//                                  token, 404 for a level not listed
//   PublishLevel(tx, player, verdict)     the level and its first run; 201, or 200 with the
//                                  author run and nothing recorded when it is listed
//   ImportShippedLevel(tx, slot, verdict) a shipped level and, when it ran, its author run
//   LevelPage(tx, sort, page)      20 levels of the list
//   LevelRow(rows, i)              row i of a query of LEVEL_ROW_COLUMNS as the answers give a level
//   LevelBody(tx, id)              a listed level's canonical text
//   WithdrawLevel(tx, player, id)  its author takes it off the hub
//   SetHidden(tx, id, hidden)      the operator hides a level, or undoes that: a level its
//                                  author had withdrawn stays withdrawn
#pragma once

#include "hub/hub_db.h"
#include "hub/hub_game.h"
#include "hub/hub_store.h"

#include <nlohmann/json.hpp>
#include <string>

const int LevelsPerPage = 20;
const char ShippedAuthor[] = "Tetherorb 2";   // the player behind the shipped levels' author runs

Player FindPlayerAndLevel(DbTx& tx, const std::string& tokenHash, const std::string& id, std::string* body);
Answer PublishLevel(DbTx& tx, const Player& player, const Verdict& v);
void ImportShippedLevel(DbTx& tx, int slot, const Verdict& v);
// A level as every answer gives it: the columns of LEVEL_ROW_COLUMNS
// selected FROM LEVEL_ROW_TABLES (levels l with its author p), first in the
// row. tried and finishes count the players besides its author who played
// it (a try or a run), and with a finishing run; clear_rate is finishes / tried, 0 when untried.
#define LEVEL_ROW_COLUMNS                                                                                   \
  "l.id, l.title, p.name, l.width, l.height, l.plays, l.tried, l.cleared, l.rating, l.record, l.author_score," \
  " l.shipped, l.published_ms"
#define LEVEL_ROW_TABLES " FROM levels l JOIN players p ON p.id = l.author_id"
nlohmann::json LevelRow(const DbRows& r, int i);

Answer LevelPage(DbTx& tx, int sort, long page);
std::string LevelBody(DbTx& tx, const std::string& id);
void WithdrawLevel(DbTx& tx, const Player& player, const std::string& id);
bool SetHidden(DbTx& tx, const std::string& id, bool hidden);
