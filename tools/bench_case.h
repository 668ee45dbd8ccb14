// bench_case: one measured case of the benchmark, and what all its parts
// (bench.cpp, bench_editor.cpp, bench_memory.cpp) share: the frame loop's
// steps, the timing and summary of a case, the scripted input and running a
// child process.
//   CaseResult                a case's milliseconds per frame
//   CaseFilter                only the frame cases whose names contain it run ("" for all)
//   AttachedFrames            frames HoldTether found the tether attached in
//   NowMs()                   the monotonic clock in milliseconds
//   BenchFrame()              the frame loop's steps, with input from the script instead of SDL's queue
//   PrintLoad(when)           prints the machine's load average
//   Summarise(ms, count)      sorts ms and gives its median, 95th percentile and slowest
//   RunCase(name, state, prepare)   runs and prints one case
//   ClearInput()              no key or button down, the pointer above the window's centre
//   HoldTether(frame)         play input: the tether held, steering left and right in turns
//   RunAndRead(path, arg, text, size)   runs a program and reads its output
#pragma once

#include <cstddef>

const int WarmUpFrames = 30;
const int MeasuredFrames = 300;
const int LoadRepeats = 10;   // timings of a one-off operation (loading, a fill)

// One case's milliseconds per frame.
struct CaseResult {
  double median, p95, slowest;
  double cpu;          // mean processor ms per frame, all threads
};

extern const char* CaseFilter;
extern int AttachedFrames;

double NowMs();

// The frame loop's steps, with input from the script instead of SDL's queue.
void BenchFrame();

void PrintLoad(const char* when);
CaseResult Summarise(double* ms, int count);

// Runs state for the warm-up and the measured frames, prepare(frame) before
// each (untimed), and prints the case's line; zeros when the case filter
// leaves it out.
CaseResult RunCase(const char* name, int state, void (*prepare)(int frame));

// No key or button down, the pointer above the window's centre.
void ClearInput();

// Play input for frame: the tether held, steering left and right in turns,
// the timer kept full so the run goes on; counts AttachedFrames.
void HoldTether(int frame);

// Runs path with one argument (none when arg is null), its output into text (size bytes,
// terminated); false when it could not run, failed or printed nothing.
bool RunAndRead(const char* path, const char* arg, char* text, size_t size);
