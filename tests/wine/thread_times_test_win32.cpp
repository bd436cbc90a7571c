// The test host's thread-cpu step, on which the idle benchmark relies: one line per worker thread
// of the plug-in while it runs and none before or after, with times that never go backwards.
#include <gtest/gtest.h>

#include <map>

#include "tests/wine/host_run_win32.h"
#include "tests/wine/scenario_checks_win32.h"

namespace {

int64_t CpuUs(const ParsedLine* line) {
    return line->Number("kernel_us").value_or(-1) + line->Number("user_us").value_or(-1);
}

} // namespace

TEST(ThreadTimes, ListsThePluginsWorkersWhileTheyRun) {
    HostRun run = RunHost({Driver::Simulator,
                           {"--sim-script=idle 2"},
                           {
                               "open",       // 0
                               "thread-cpu", // 1  nothing started yet
                               "start",      // 2
                               "wait:300",   // 3
                               "thread-cpu", // 4
                               "wait:300",   // 5
                               "thread-cpu", // 6
                               "stop",       // 7
                               "thread-cpu", // 8  both ended
                               "close",      // 9
                           }});
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    EXPECT_TRUE(LinesBetween(run, "thread-cpu", 0, 1).empty());
    EXPECT_TRUE(LinesBetween(run, "thread-cpu", 7, 8).empty());

    std::vector<const ParsedLine*> first = LinesBetween(run, "thread-cpu", 3, 4);
    std::vector<const ParsedLine*> second = LinesBetween(run, "thread-cpu", 5, 6);
    ASSERT_EQ(first.size(), 2u);
    ASSERT_EQ(second.size(), 2u);
    std::map<int64_t, const ParsedLine*> later;
    for (const ParsedLine* line : second)
        later[run.Number(line, "id")] = line;
    std::map<int64_t, int> priorities; // priority -> threads
    for (const ParsedLine* line : first) {
        ASSERT_EQ(later.count(run.Number(line, "id")), 1u) << "the same two threads";
        const ParsedLine* next = later[run.Number(line, "id")];
        EXPECT_GE(CpuUs(line), 0);
        EXPECT_GE(CpuUs(next), CpuUs(line));
        EXPECT_EQ(next->Get("start"), line->Get("start"));
        ++priorities[run.Number(line, "priority")];
    }
    // The sampling thread runs time-critical, the dispatcher at normal priority.
    EXPECT_EQ(priorities, (std::map<int64_t, int>{{0, 1}, {15, 1}}));
    EXPECT_NE(first[0]->Get("start"), first[1]->Get("start"));
}
