// tetherorb2-hub: the level hub. See hub_options.cpp for the command line
// and hub_api.h for the interface.
#include "hub/hub_options.h"
#include "hub/hub_serve.h"

#include <csignal>

int main(int argc, char** argv)
{
  KeepFreedMemory();
  signal(SIGPIPE, SIG_IGN);   // a client or verifier that went away is an error return, not an ending
  if (!ParseOptions(argc, argv))
    return 2;
  return RunCommand();
}
