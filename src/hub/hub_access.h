// hub_access: who asked what and how it was answered. Each request ends in
// one line on stderr (unless --no-access-log): the client's address, the
// method and path (never the query, a header or a body, so never a token),
// the status, the bytes of the body sent and the milliseconds from its
// routing to its answer. The same end counts the request in hub_metrics.
//   ClientAddress(req)      the client's address as the rate limits see it: behind a
//                           trusted proxy the rightmost entry of the last X-Forwarded-For line
//   RequestStarted()        marks the start of this thread's request (the first routing step)
//   AddAccessLog(server)    logs and counts every answered request
#pragma once

#include <httplib.h>
#include <string>

const int MaxLoggedPathBytes = 200;   // a longer path is cut, ending in "..."

std::string ClientAddress(const httplib::Request& req);
void RequestStarted();
void AddAccessLog(httplib::Server& server);
