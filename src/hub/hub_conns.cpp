// hub_conns: the table of connections by address.
#include "hub/hub_conns.h"

#include <cstring>
#include <functional>
#include <mutex>

// An AddressKey is bytes: an IPv6 one holds its /64 raw, zeros and all.
// One longer than this (an address with a zone) counts by its first bytes.
static const size_t MaxKeyBytes = 64;

struct ConnectionEntry {
  char key[MaxKeyBytes];
  size_t size;
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
    if (e->held > 0 && e->size == key.size() && memcmp(e->key, key.data(), key.size()) == 0)
      return e;
    if (e->held == 0 && !free)
      free = e;
  }
  return free;
}

bool HoldConnection(const std::string& address, long most)
{
  std::string key = address.substr(0, MaxKeyBytes);
  std::lock_guard<std::mutex> hold(EntriesLock);
  ConnectionEntry* e = Find(key);
  if (!e || e->held >= most)
    return false;
  if (e->held == 0) {
    memcpy(e->key, key.data(), key.size());
    e->size = key.size();
  }
  e->held++;
  return true;
}

void DropConnection(const std::string& address)
{
  std::lock_guard<std::mutex> hold(EntriesLock);
  ConnectionEntry* e = Find(address.substr(0, MaxKeyBytes));
  if (e && e->held > 0)
    e->held--;
}
