#pragma once
// Clocks of the benchmark programs.

#include <chrono>
#include <time.h>

using Clock = std::chrono::steady_clock;

// The process's CPU time in milliseconds: on a busy shared machine it is
// steadier than the wall clock, which the programs print beside it.
inline double CpuMs() {
    timespec T;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &T);
    return T.tv_sec * 1e3 + T.tv_nsec / 1e6;
}

// A wall-clock duration in milliseconds.
inline double Ms(Clock::duration D) {
    return std::chrono::duration<double, std::milli>(D).count();
}
