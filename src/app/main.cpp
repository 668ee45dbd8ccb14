// The process entry: everything else lives in the core library.
#include "app/host.h"

int main(int, char**)
{
  return RunProgram();
}
