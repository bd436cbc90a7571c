#pragma once
// The key messages (1025) a run received, and the rules every sequence of them must keep.
#include <string>
#include <vector>

#include "tests/wine/host_run_win32.h"

struct KeyEvent {
    const ParsedLine* line;
    std::string event; // press, repeat or release
    int64_t repeat;    // n of the n-th repeat, 0 otherwise
    double t;          // ms since the host started
    std::string key;
    std::string remote;
    std::string code;
};

std::vector<KeyEvent> KeyEvents(const HostRun& run);
// Key messages printed after step `after` and before the line of step `before` (during `before`).
std::vector<KeyEvent> KeyEventsBetween(const HostRun& run, int after, int before);

// "press KEY", "release KEY" for each press and release in order; repeats left out.
std::vector<std::string> PressesAndReleases(const std::vector<KeyEvent>& events);

// Times of the simulator's hand-overs of batches, from the "simlog" lines.
std::vector<double> HandOverTimes(const HostRun& run);

// Walks the run in order and names every break of the rules: a press only while no button is held;
// repeats and the release only for the held button (same key, remote and code text), repeats
// numbered 1, 2, 3 …; a button held when a Stop or Close returns has had its release; no key
// message arrives between a Stop or Close and the next Start.
std::vector<std::string> KeySequenceFaults(const HostRun& run);
