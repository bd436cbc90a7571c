#pragma once
// A watchdog for a GoogleTest program under Wine. A test that outlasts its limit is reported
// before CTest's own time-out would end the program without a word: the test's name, what it
// noted last (WatchNote) and since when, and where every thread of the process waits (see
// hang_report_win32.h). Then the program ends with exit code 3.
#include <string>

// Watches every test of this program from now on, each for at most limitMs, or for the
// milliseconds that the environment variable ORVIK_TEST_LIMIT_MS gives. Call once.
void InstallTestWatchdog(unsigned limitMs);

// What the test does now ("Setup", "test_host.exe open start ..."), for the report.
void WatchNote(const std::string& what);
