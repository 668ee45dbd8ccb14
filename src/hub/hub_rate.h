// hub_rate: request budgets per player and per address, one token bucket per
// key and kind in a fixed table of this copy of the hub (copies behind one
// load balancer each keep their own, for their share of each limit:
// --copies). A bucket holds a minute's worth of requests and refills evenly
// over the minute. A bucket that has refilled
// is as good as none, so only such a one gives its place to another key;
// when every place a key may take still holds a client back, the request
// is refused: a crowded table never forgets whom it is counting.
//   TakeRequest(kind, key, perMinute)   0 when the request may go ahead,
//                                       else the seconds until it may
//   AddressKey(address)                 the key of a client's address:
//                                       IPv6 by its /64, IPv4 (mapped too) whole
#pragma once

#include <string>

enum {
  rate_publish_player,
  rate_publish_address,
  rate_runs_player,
  rate_runs_address,
  rate_players_address,
  rate_reports_player,
  rate_reports_address,
  rate_tries_player,
  rate_tries_address,
  RateKindCount
};

const int RateSlots = 65536;    // buckets in the table
const int RateProbe = 16;       // neighbouring slots a key may take

int TakeRequest(int kind, const std::string& key, long perMinute);
std::string AddressKey(const std::string& address);
