// hub_rate: the table of token buckets.
#include "hub/hub_rate.h"

#include <chrono>
#include <cmath>
#include <functional>
#include <mutex>

static const double SecondsPerMinute = 60;

struct RateBucket {
  size_t key;        // hash of the kind and the key; 0 for an empty slot
  double tokens;     // requests left
  double last;       // seconds, when tokens was last brought up to date
};

static RateBucket Buckets[RateSlots];
static std::mutex BucketsLock;

static double NowSeconds()
{
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
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
  RateBucket* idlest = nullptr;
  for (int i = 0; i < RateProbe && !b; i++) {
    RateBucket* slot = &Buckets[(hash + i) % RateSlots];
    if (slot->key == hash)
      b = slot;
    else if (!idlest || slot->key == 0 || (idlest->key != 0 && slot->last < idlest->last))
      idlest = slot;
  }
  if (!b) {
    b = idlest;
    b->key = hash;
    b->tokens = capacity;
    b->last = now;
  }
  b->tokens = std::min(capacity, b->tokens + (now - b->last) * rate);
  b->last = now;
  if (b->tokens >= 1) {
    b->tokens -= 1;
    return 0;
  }
  return (int)ceil((1 - b->tokens) / rate);
}
