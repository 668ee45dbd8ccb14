// The hub's tables keyed on client addresses: the rate table holds a client
// back however many others come (no crowd of keys makes it forget a bucket
// that is still counting), and the connection table counts each address's
// connections apart, whatever bytes its key holds.
#include <gtest/gtest.h>

#include "hub/hub_conns.h"
#include "hub/hub_rate.h"

#include <cstdio>

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

// Connections by address: IPv6 keys hold their /64 as raw bytes, zeros
// among them, and a zoned address is longer than any other key.
TEST(HubConnections, EachAddressHoldsItsShareAndGivesItBackWhateverItsBytes)
{
  const long Most = 3;
  const int Addresses = 200;
  auto address = [](int i) {
    char text[64];
    snprintf(text, sizeof text, i % 2 ? "2001:db8:0:%x::1" : "fe80::%x:0:0:1%%some-long-interface-name", i);
    return AddressKey(text);
  };
  for (int round = 0; round < 2; round++) {   // the second finds every place given back
    for (int i = 0; i < Addresses; i++) {
      for (long n = 0; n < Most; n++)
        ASSERT_TRUE(HoldConnection(address(i), Most)) << i << " round " << round;
      EXPECT_FALSE(HoldConnection(address(i), Most)) << i;
    }
    for (int i = 0; i < Addresses; i++)
      for (long n = 0; n < Most; n++)
        DropConnection(address(i));
  }
}
