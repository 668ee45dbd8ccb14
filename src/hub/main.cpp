// tetherorb2-hub: the level hub. See hub_options.cpp for the command line
// and hub_api.h for the interface.
#include "hub/hub_options.h"
#include "hub/hub_serve.h"

#include <csignal>
#include <malloc.h>

// Memory a thread's heap keeps when freed, and the size from which a block
// is mapped on its own. glibc gives a heap's freed top back to the system
// at 128 KiB by default; with a hundred request threads allocating and
// freeing every request, that handing back (and each following touch of
// the pages) took a quarter of a run's processor time outside the re-run.
static const int KeptFreeBytes = 64 << 20;
static const int MappedFromBytes = 16 << 20;

int main(int argc, char** argv)
{
  mallopt(M_TRIM_THRESHOLD, KeptFreeBytes);
  mallopt(M_MMAP_THRESHOLD, MappedFromBytes);
  signal(SIGPIPE, SIG_IGN);   // a client or verifier that went away is an error return, not an ending
  if (!ParseOptions(argc, argv))
    return 2;
  return RunCommand();
}
