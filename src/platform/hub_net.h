// hub_net: the network under the hub's request queue (game/online/online_queue.h).
// Once a frame it sends the waiting requests and moves the answers that came
// in into their slots, never waiting for the network: on the desktop through
// libcurl's multi interface (hub_net_desktop.cpp), in the browser through the
// page's fetch (hub_net_web.cpp and platform_web.js). Each answer is cut off
// and refused when it grows past its bound.
//   StartHubNet()    once at start-up, after the settings
//   DriveHubNet()    once a frame: send, receive, finish, all without blocking
//   StopHubNet()     at the end: transfers still out are dropped
#pragma once

const long HubConnectSeconds = 5;    // a hub that does not take the connection is unreachable
const long HubAnswerSeconds = 30;    // a whole request, sending and answer included

void StartHubNet();
void DriveHubNet();
void StopHubNet();
