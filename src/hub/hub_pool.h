// hub_pool: a fixed set of numbered slots (database connections, verifier
// processes) shared by the request threads and handed out first come, first
// served: a slot given back goes straight to the longest waiter, so under
// load no request waits behind newer ones.
//   SlotPool                      the slots and their queue
//   StartPool(pool, count)        count free slots
//   TakeSlot(pool, milliseconds)  a free slot's number; -1 after waiting that long (-1: forever)
//   GiveSlot(pool, slot)          gives a slot back
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>

const int MaxPoolSlots = 64;

struct PoolWaiter {
  int slot = -1;
  std::condition_variable handed;
};

struct SlotPool {
  std::mutex lock;
  int count = 0;
  bool busy[MaxPoolSlots] = {};
  std::deque<PoolWaiter*> waiting;
};

void StartPool(SlotPool* pool, int count);
int TakeSlot(SlotPool* pool, int milliseconds);
void GiveSlot(SlotPool* pool, int slot);
