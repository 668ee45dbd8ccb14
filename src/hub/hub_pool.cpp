// hub_pool: slots handed to waiters in the order they came.
#include "hub/hub_pool.h"

#include <algorithm>
#include <chrono>

void StartPool(SlotPool* pool, int count)
{
  std::lock_guard<std::mutex> hold(pool->lock);
  pool->count = std::min(std::max(count, 1), MaxPoolSlots);
  for (int i = 0; i < MaxPoolSlots; i++)
    pool->busy[i] = false;
}

int TakeSlot(SlotPool* pool, int milliseconds)
{
  std::unique_lock<std::mutex> hold(pool->lock);
  if (pool->waiting.empty())
    for (int i = 0; i < pool->count; i++)
      if (!pool->busy[i]) {
        pool->busy[i] = true;
        return i;
      }
  PoolWaiter me;
  pool->waiting.push_back(&me);
  auto handed = [&] { return me.slot >= 0; };
  if (milliseconds < 0)
    me.handed.wait(hold, handed);
  else if (!me.handed.wait_for(hold, std::chrono::milliseconds(milliseconds), handed))
    pool->waiting.erase(std::find(pool->waiting.begin(), pool->waiting.end(), &me));
  return me.slot;
}

void GiveSlot(SlotPool* pool, int slot)
{
  std::lock_guard<std::mutex> hold(pool->lock);
  if (pool->waiting.empty()) {
    pool->busy[slot] = false;
    return;
  }
  PoolWaiter* next = pool->waiting.front();
  pool->waiting.pop_front();
  next->slot = slot;   // stays busy: it passes straight to the waiter
  next->handed.notify_one();
}
