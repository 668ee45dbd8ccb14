// hub_rate: request budgets per token and per address, one token bucket per
// key and kind in a fixed table of this copy of the hub (copies behind one
// load balancer each keep their own). A bucket holds a minute's worth of
// requests and refills evenly over the minute. When the table is crowded, a
// key takes the place of the most idle of its neighbours, which then starts
// again with a full bucket.
//   TakeRequest(kind, key, perMinute)   0 when the request may go ahead,
//                                       else the seconds until it may
#pragma once

#include <string>

enum {
  rate_publish_token,
  rate_publish_address,
  rate_runs_token,
  rate_runs_address,
  rate_players_address,
  RateKindCount
};

const int RateSlots = 16384;    // buckets in the table
const int RateProbe = 8;        // neighbouring slots a key may take

int TakeRequest(int kind, const std::string& key, long perMinute);
