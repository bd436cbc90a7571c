#pragma once
// The report on a test host (or another program the tests run) that has run past its limit, made from outside
// while its threads are frozen: the step under way and since when (read from the host's memory, so it is
// known even when no thread of the host can print), the last lines it printed, and where each of its threads
// waits.
//
// The watchdog lives here, in the program that started the host, rather than in a thread of the
// host: a host whose threads are stuck may hold the very locks (its output's, the heap's, Wine's
// loader lock) that a thread of its own would need to report or even to end the process.
#include <windows.h>

#include <string>

std::string ReportHungHost(const std::string& program, const PROCESS_INFORMATION& host,
                           const std::string& output, unsigned limitMs);
