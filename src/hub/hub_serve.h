// hub_serve: the hub's commands once its options are read: the HTTP
// service, hiding a level, and the count check.
//   RunCommand()          carries out HubOptions.command; returns the exit code
//   HubServer             httplib's server, with a listen backlog deeper than httplib's own
//   SetUpServer(server)   its threads, limits, time-outs, error answers and access log, as the
//                         hub serves (tetherorb2-hub-load's fixed answer shares them); the
//                         routes come after it, AddBodyGuards after them
#pragma once

#include <httplib.h>

int RunCommand();

struct HubServer : httplib::Server {
  void DeepenBacklog();
};

void SetUpServer(HubServer& server);
