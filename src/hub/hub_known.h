// hub_known: the players and level bodies this copy of the hub has read,
// kept so that a run need not read them again. Neither ever changes once
// written: a player's token and name are fixed when the player registers,
// and a level's id is the hash of its body. Whether a level is still listed
// is checked again where its run is written, so a kept body spares the
// read and nothing else. Both tables are fixed in size, and a new entry
// takes its slot's place: a client sending many tokens or levels only
// costs itself the reads.
//   KnownPlayer(tokenHash, &player)   true when the token's player is kept
//   RememberPlayer(tokenHash, player) keeps a player read from the database
//   KnownLevel(id, &body)             true when the level's body is kept
//   RememberLevel(id, body)           keeps a listed level's body, when small enough
#pragma once

#include "hub/hub_store.h"

#include <string>

const int KnownPlayerSlots = 8192;
const int KnownLevelSlots = 256;
const size_t KnownLevelMostBytes = 64 * 1024;   // larger bodies are read each time

bool KnownPlayer(const std::string& tokenHash, Player* player);
void RememberPlayer(const std::string& tokenHash, const Player& player);
bool KnownLevel(const std::string& id, std::string* body);
void RememberLevel(const std::string& id, const std::string& body);
