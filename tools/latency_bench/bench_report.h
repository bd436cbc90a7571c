#pragma once
// Figures of the end-to-end benchmark, worked out from the test host's lines: how long a press
// takes from the simulator's hand-over to the host window, and how much processor time the
// plug-in's threads use while idle. Portable, so the arithmetic is unit-tested on both targets.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/test_host/event_line.h"

// Nearest-rank percentile of sorted values (percent 50 is the median); 0 for no values.
double Percentile(const std::vector<double>& sorted, double percent);

struct Distribution {
    size_t count = 0;
    double median = 0;
    double p90 = 0;
    double p99 = 0;
    double max = 0;
};
Distribution Summarise(std::vector<double> values);

// Each hand-over is answered by the first press after it and before the next hand-over. Both
// lists are times in ms, ascending.
struct PressLatencies {
    std::vector<double> ms; // one per answered hand-over
    int unanswered = 0;     // hand-overs with no press before the next one
    int strayPresses = 0;   // presses before the first hand-over, or a second one after the same
};
PressLatencies PairPresses(const std::vector<double>& handOvers, const std::vector<double>& presses);

// From the host's lines: times of the simulator's hand-overs of data (status 0, bytes) and of
// the press messages (1025, lParam 0), both ascending.
struct PressTimes {
    std::vector<double> handOvers;
    std::vector<double> presses;
    int undefinedPresses = 0; // presses of a code the definition files do not name
};
PressTimes CollectPressTimes(const std::vector<ParsedLine>& lines);

// Processor time of each plug-in thread between the first two "thread-cpu" steps.
struct ThreadCpu {
    int64_t id = 0;
    int64_t priority = 0;
    double msPerSecond = 0;
    bool barePoller = false; // the host's yardstick thread (who=bare-poller), not the plug-in's
};
struct IdleCpu {
    double seconds = 0; // between the two steps
    std::vector<ThreadCpu> threads;
    double TotalMsPerSecond() const;      // the plug-in's threads
    double BarePollerMsPerSecond() const; // 0 without a bare poller
};
// False when the lines do not hold two snapshots of the same threads (why in *error).
bool MeasureIdleCpu(const std::vector<ParsedLine>& lines, IdleCpu* cpu, std::string* error);
