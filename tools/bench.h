// bench: what the benchmark's parts share (bench.cpp times frames,
// bench_memory.cpp measures peak memory).
#pragma once

#include <cstddef>

// The generated levels, in slot order.
enum { level_small_dense = 1, level_small_sparse, level_mid_dense, level_mid_sparse,
       level_big_dense, level_big_sparse, level_count = level_big_sparse };

// The frame loop's steps, with input from the script instead of SDL's queue.
void BenchFrame();

// One case's milliseconds per frame.
struct CaseResult {
  double median, p95, slowest;
  double cpu;          // mean processor ms per frame, all threads
};

// Runs state for the warm-up and the measured frames, prepare(frame) before
// each (untimed), and prints the case's line; zeros when the case filter
// leaves it out.
CaseResult RunCase(const char* name, int state, void (*prepare)(int frame));

// The editor zoomed out to the whole of the largest levels, still and while
// painting every frame, against the editor on the smallest (bench_editor.cpp).
void ZoomedOutEditorCases(const CaseResult& smallest);

// No key or button down, the pointer above the window's centre.
void ClearInput();

// Play input for frame: the tether held, steering left and right in turns,
// the timer kept full so the run goes on.
void HoldTether(int frame);

// Runs path with one argument (none when arg is null), its output into text (size bytes,
// terminated); false when it could not run, failed or printed nothing.
bool RunAndRead(const char* path, const char* arg, char* text, size_t size);

// The benchmark's memory child: a second of the title screen and, unless
// level is 0, a minute of play and editing on level, then its peak memory
// printed in kilobytes.
int MemoryChild(int level);

// Runs the bare window and a memory child for the title screen, the small
// and the largest level, and prints their peaks.
void MeasureMemory(const char* self);

const char MemoryFlag[] = "--memory=";   // then the level
