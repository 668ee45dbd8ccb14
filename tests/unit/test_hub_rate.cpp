// The hub's rate table holds a client back however many others come: no
// crowd of keys makes it forget a bucket that is still counting.
#include <gtest/gtest.h>

#include "hub/hub_rate.h"

TEST(HubRate, ACrowdOfKeysNeverResetsAClientHeldBack)
{
  const long PerMinute = 1;
  ASSERT_EQ(TakeRequest(rate_players_address, "198.51.100.7", PerMinute), 0);
  ASSERT_GT(TakeRequest(rate_players_address, "198.51.100.7", PerMinute), 0);
  int refused = 0;
  for (int i = 0; i < 2 * RateSlots; i++)
    refused += TakeRequest(rate_runs_address, std::to_string(i), PerMinute) > 0;
  EXPECT_GE(refused, RateSlots);   // past a full table every newcomer waits
  EXPECT_GT(TakeRequest(rate_players_address, "198.51.100.7", PerMinute), 0);
}
