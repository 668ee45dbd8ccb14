// hub_known: two direct-mapped tables, each behind its own lock.
#include "hub/hub_known.h"

#include <functional>
#include <mutex>

struct KnownPlayerSlot {
  std::string tokenHash;   // empty for a free slot
  Player player;
};

struct KnownLevelSlot {
  std::string id;   // empty for a free slot
  std::string body;
};

static KnownPlayerSlot Players[KnownPlayerSlots];
static KnownLevelSlot Levels[KnownLevelSlots];
static std::mutex PlayersLock, LevelsLock;

static size_t SlotOf(const std::string& key, int slots)
{
  return std::hash<std::string>()(key) % (size_t)slots;
}

bool KnownPlayer(const std::string& tokenHash, Player* player)
{
  KnownPlayerSlot& s = Players[SlotOf(tokenHash, KnownPlayerSlots)];
  std::lock_guard<std::mutex> hold(PlayersLock);
  if (tokenHash.empty() || s.tokenHash != tokenHash)
    return false;
  *player = s.player;
  return true;
}

void RememberPlayer(const std::string& tokenHash, const Player& player)
{
  KnownPlayerSlot& s = Players[SlotOf(tokenHash, KnownPlayerSlots)];
  std::lock_guard<std::mutex> hold(PlayersLock);
  s.tokenHash = tokenHash;
  s.player = player;
}

bool KnownLevel(const std::string& id, std::string* body)
{
  KnownLevelSlot& s = Levels[SlotOf(id, KnownLevelSlots)];
  std::lock_guard<std::mutex> hold(LevelsLock);
  if (id.empty() || s.id != id)
    return false;
  *body = s.body;
  return true;
}

void RememberLevel(const std::string& id, const std::string& body)
{
  if (body.size() > KnownLevelMostBytes)
    return;
  KnownLevelSlot& s = Levels[SlotOf(id, KnownLevelSlots)];
  std::lock_guard<std::mutex> hold(LevelsLock);
  s.id = id;
  s.body = body;
}
