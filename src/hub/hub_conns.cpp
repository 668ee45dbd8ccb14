// hub_conns: the table of connections by address.
#include "hub/hub_conns.h"

#include <cstring>
#include <functional>
#include <mutex>

static const size_t MaxKeyBytes = 47;   // the longest AddressKey: an IPv6 /64, written out

struct ConnectionEntry {
  char key[MaxKeyBytes + 1];
  long held;   // 0: the place is free
};

static ConnectionEntry Entries[ConnectionSlots];
static std::mutex EntriesLock;

// The key's entry, or a free place for it, or null when its places are all another's.
static ConnectionEntry* Find(const std::string& key)
{
  size_t first = std::hash<std::string>()(key);
  ConnectionEntry* free = nullptr;
  for (int i = 0; i < ConnectionProbe; i++) {
    ConnectionEntry* e = &Entries[(first + (size_t)i) % ConnectionSlots];
    if (e->held > 0 && key == e->key)
      return e;
    if (e->held == 0 && !free)
      free = e;
  }
  return free;
}

bool HoldConnection(const std::string& key, long most)
{
  if (key.size() > MaxKeyBytes)
    return false;
  std::lock_guard<std::mutex> hold(EntriesLock);
  ConnectionEntry* e = Find(key);
  if (!e || e->held >= most)
    return false;
  if (e->held == 0)
    memcpy(e->key, key.c_str(), key.size() + 1);
  e->held++;
  return true;
}

void DropConnection(const std::string& key)
{
  std::lock_guard<std::mutex> hold(EntriesLock);
  ConnectionEntry* e = Find(key);
  if (e && e->held > 0)
    e->held--;
}
