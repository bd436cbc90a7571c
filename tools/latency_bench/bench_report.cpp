#include "tools/latency_bench/bench_report.h"

#include <algorithm>
#include <cmath>
#include <map>

double Percentile(const std::vector<double>& sorted, double percent) {
    if (sorted.empty())
        return 0;
    // Multiplied before dividing: 0.9 * 200 is not exactly 180 (x87 gives 181 as its ceiling).
    const double rank = std::ceil(percent * static_cast<double>(sorted.size()) / 100.0);
    const size_t index = rank < 1 ? 0 : static_cast<size_t>(rank) - 1;
    return sorted[std::min(index, sorted.size() - 1)];
}

Distribution Summarise(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    Distribution d;
    d.count = values.size();
    d.median = Percentile(values, 50);
    d.p90 = Percentile(values, 90);
    d.p99 = Percentile(values, 99);
    d.max = values.empty() ? 0 : values.back();
    return d;
}

PressLatencies PairPresses(const std::vector<double>& handOvers, const std::vector<double>& presses) {
    PressLatencies result;
    size_t p = 0;
    for (; p < presses.size() && (handOvers.empty() || presses[p] < handOvers.front()); ++p)
        ++result.strayPresses;
    for (size_t h = 0; h < handOvers.size(); ++h) {
        const bool last = h + 1 == handOvers.size();
        int answers = 0;
        for (; p < presses.size() && (last || presses[p] < handOvers[h + 1]); ++p) {
            if (answers++ == 0)
                result.ms.push_back(presses[p] - handOvers[h]);
            else
                ++result.strayPresses;
        }
        if (answers == 0)
            ++result.unanswered;
    }
    return result;
}

PressTimes CollectPressTimes(const std::vector<ParsedLine>& lines) {
    PressTimes times;
    for (const ParsedLine& line : lines) {
        const std::optional<double> t = line.Real("t");
        if (!t)
            continue;
        if (line.kind == "simlog" && line.Get("kind") == "handover" && line.Number("status") == 0 &&
            line.Number("count").value_or(0) > 0)
            times.handOvers.push_back(*t);
        if (line.kind == "msg" && line.Number("n") == 1025 && line.Get("event") == "press") {
            times.presses.push_back(*t);
            if (line.Get("remote") == "<undefined>")
                ++times.undefinedPresses;
        }
    }
    // The simulator's log is printed after the messages it explains.
    std::sort(times.handOvers.begin(), times.handOvers.end());
    std::sort(times.presses.begin(), times.presses.end());
    return times;
}

double IdleCpu::TotalMsPerSecond() const {
    double total = 0;
    for (const ThreadCpu& thread : threads)
        total += thread.barePoller ? 0 : thread.msPerSecond;
    return total;
}

double IdleCpu::BarePollerMsPerSecond() const {
    double total = 0;
    for (const ThreadCpu& thread : threads)
        total += thread.barePoller ? thread.msPerSecond : 0;
    return total;
}

namespace {

struct Sample {
    double t;
    int64_t priority;
    int64_t cpuUs;
    bool barePoller;
};

} // namespace

bool MeasureIdleCpu(const std::vector<ParsedLine>& lines, IdleCpu* cpu, std::string* error) {
    // Per snapshot (the "thread-cpu" lines printed before their step's line): thread id -> sample.
    std::vector<std::map<int64_t, Sample>> snapshots(1);
    std::vector<double> stepTimes;
    for (const ParsedLine& line : lines) {
        if (line.kind == "step" && line.Get("do") == "thread-cpu") {
            stepTimes.push_back(line.Real("t").value_or(0));
            snapshots.emplace_back();
        } else if (line.kind == "thread-cpu") {
            const auto id = line.Number("id");
            const auto kernel = line.Number("kernel_us");
            const auto user = line.Number("user_us");
            if (!id || !kernel || !user) {
                *error = "a thread-cpu line without id or times";
                return false;
            }
            snapshots.back()[*id] = {line.Real("t").value_or(0), line.Number("priority").value_or(0),
                                     *kernel + *user, line.Get("who") == "bare-poller"};
        }
    }
    if (stepTimes.size() < 2) {
        *error = "fewer than two thread-cpu steps";
        return false;
    }
    cpu->seconds = (stepTimes[1] - stepTimes[0]) / 1000.0;
    cpu->threads.clear();
    for (const auto& [id, before] : snapshots[0]) {
        auto after = snapshots[1].find(id);
        if (after == snapshots[1].end())
            continue;
        const double seconds = (after->second.t - before.t) / 1000.0;
        if (seconds <= 0)
            continue;
        const double ms = static_cast<double>(after->second.cpuUs - before.cpuUs) / 1000.0;
        cpu->threads.push_back({id, before.priority, ms / seconds, before.barePoller});
    }
    if (cpu->threads.empty()) {
        *error = "no plug-in thread in both snapshots";
        return false;
    }
    return true;
}
