// hub_rate: the table of token buckets.
#include "hub/hub_rate.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cmath>
#include <functional>
#include <mutex>

static const double SecondsPerMinute = 60;
static const int IPv6PrefixBytes = 8;     // a /64: one site's addresses count as one client
static const int IPv4MappedPrefix = 12;   // ::ffff:a.b.c.d

struct RateBucket {
  size_t key;        // hash of the kind and the key; 0 for an empty slot
  double tokens;     // requests left
  double last;       // seconds, when tokens was last brought up to date
  double capacity;   // requests a minute
};

static RateBucket Buckets[RateSlots];
static std::mutex BucketsLock;

static double NowSeconds()
{
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Seconds until b holds its whole minute again; 0 when it does (or is empty).
static double SecondsToFull(const RateBucket* b, double now)
{
  if (b->key == 0)
    return 0;
  double left = (b->capacity - b->tokens) * SecondsPerMinute / b->capacity - (now - b->last);
  return left > 0 ? left : 0;
}

int TakeRequest(int kind, const std::string& key, long perMinute)
{
  if (perMinute <= 0)
    return 0;
  size_t hash = std::hash<std::string>()(key) * RateKindCount + (size_t)kind + 1;
  if (hash == 0)
    hash = 1;
  double capacity = (double)perMinute, rate = capacity / SecondsPerMinute, now = NowSeconds();
  std::lock_guard<std::mutex> hold(BucketsLock);
  RateBucket* b = nullptr;
  RateBucket* free = nullptr;
  double soonest = SecondsPerMinute;
  for (int i = 0; i < RateProbe && !b; i++) {
    RateBucket* slot = &Buckets[(hash + i) % RateSlots];
    double wait = SecondsToFull(slot, now);
    if (slot->key == hash)
      b = slot;
    else if (wait == 0 && !free)
      free = slot;
    else if (wait < soonest)
      soonest = wait;
  }
  if (!b && !free)
    return (int)ceil(soonest) > 0 ? (int)ceil(soonest) : 1;
  if (!b) {
    b = free;
    b->key = hash;
    b->tokens = capacity;
    b->last = now;
  }
  b->capacity = capacity;
  b->tokens = std::min(capacity, b->tokens + (now - b->last) * rate);
  b->last = now;
  if (b->tokens >= 1) {
    b->tokens -= 1;
    return 0;
  }
  return (int)ceil((1 - b->tokens) / rate);
}

std::string AddressKey(const std::string& address)
{
  unsigned char bytes[sizeof(in6_addr)];
  if (inet_pton(AF_INET6, address.c_str(), bytes) != 1)
    return address;
  static const unsigned char Mapped[IPv4MappedPrefix] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
  char text[INET_ADDRSTRLEN];
  if (std::equal(Mapped, Mapped + IPv4MappedPrefix, bytes) &&
      inet_ntop(AF_INET, bytes + IPv4MappedPrefix, text, sizeof text))
    return text;
  return "v6/64:" + std::string((const char*)bytes, IPv6PrefixBytes);
}
