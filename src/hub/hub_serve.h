// hub_serve: the hub's commands once its options are read: the HTTP
// service, hiding a level, and the count check.
//   KeepFreedMemory()     the process's heap as the hub runs it, first thing in main (the
//                         hub's and its verifiers'; tetherorb2-hub-load's, which measures against them)
//   RunCommand()          carries out HubOptions.command; returns the exit code
//   HubServer             httplib's server, with a listen backlog deeper than httplib's own
//                         and the bounds of hub_socket on every request's head
//   SetUpServer(server)   its threads, limits, time-outs, error answers and access log, as the
//                         hub serves (tetherorb2-hub-load's fixed answer shares them); the
//                         routes come after it, AddBodyGuards after them
#pragma once

#include "hub/hub_socket.h"

void KeepFreedMemory();
int RunCommand();

struct HubServer : BoundedServer {
  void DeepenBacklog();
};

void SetUpServer(HubServer& server);
