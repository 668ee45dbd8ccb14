// bench_memory: the benchmark's peak memory figures.
//   MemoryFlag                    the argument that makes the program a memory child
//   MemoryChild(level)            a second of the title screen and, unless level is 0, a
//                                 minute of play and editing on level, then its peak memory
//                                 printed in kilobytes
//   MeasureMemory(self)           runs the bare window and a memory child for the title
//                                 screen, the small and the largest level, and prints their peaks
#pragma once

const char MemoryFlag[] = "--memory=";   // then the level

int MemoryChild(int level);
void MeasureMemory(const char* self);
