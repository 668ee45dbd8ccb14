// hub_conns: the connections each client address holds at once. A request
// thread serves one connection at a time, so a client that opens many and
// sends slowly would hold every thread; each address (by AddressKey: IPv6
// by its /64) holds at most its share, and a connection past it is turned
// away at once. The table is fixed: at most one entry a connection being
// served, so it never fills while fewer connections are served than it has
// places.
//   ConnectionSlots, ConnectionProbe   places in the table; neighbouring places a key may take
//   HoldConnection(key, most)    a place for one more of the key's connections; false at most already
//                                (keys are bytes, as AddressKey makes them)
//   DropConnection(key)          the connection held by HoldConnection ended
#pragma once

#include <string>

const int ConnectionSlots = 4096;
const int ConnectionProbe = 16;

bool HoldConnection(const std::string& key, long most);
void DropConnection(const std::string& key);
