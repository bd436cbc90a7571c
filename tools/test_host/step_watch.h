#pragma once
// Which step the test host runs and since when, kept where a watchdog outside the process reads it
// (ReadProcessMemory at the address of the "host" line's watch field): it tells the step even when
// no thread of the host can print any more.
#include <cstdint>

struct StepWatch {
    int32_t step = -1;  // index of the step under way; -1 before the first
    char verb[28] = ""; // its verb
    int64_t began = 0;  // when it began, QueryPerformanceCounter
    int64_t origin = 0; // the host's t=0, QueryPerformanceCounter
    int64_t perSecond = 1;
};
