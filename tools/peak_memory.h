// peak_memory: the process's peak resident memory, as the benchmark and the
// bare window report it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

// VmHWM of /proc/self/status in kilobytes; -1 when it cannot be read.
inline long PeakResidentKb()
{
  FILE* f = fopen("/proc/self/status", "r");
  if (!f)
    return -1;
  char line[256];
  long kb = -1;
  while (fgets(line, sizeof line, f))
    if (strncmp(line, "VmHWM:", 6) == 0)
      kb = atol(line + 6);
  fclose(f);
  return kb;
}
