// hub_serve: the hub's commands once its options are read: the HTTP
// service, hiding a level, and the count check.
//   RunCommand()   carries out HubOptions.command; returns the exit code
#pragma once

int RunCommand();
