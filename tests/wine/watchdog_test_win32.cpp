// The watchdog of the host runs, on a host step that never returns while the plug-in receives: the
// host is ended long before the test's own limit, and the report names the step and tells where
// the host's thread and each of the plug-in's threads wait.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "tests/wine/host_run_win32.h"

namespace {

// The report's line of each thread, with the stack lines below it.
std::vector<std::string> ThreadBlocks(const std::string& report) {
    std::vector<std::string> blocks;
    std::istringstream in(report);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("  thread ", 0) == 0)
            blocks.push_back(line + "\n");
        else if (!blocks.empty() && line.rfind("      ", 0) == 0)
            blocks.back() += line + "\n";
    }
    return blocks;
}

} // namespace

TEST(Watchdog, ReportsAHostStepThatNeverReturns) {
    constexpr unsigned kLimitMs = 6000;
    Scenario scenario{
        Driver::Simulator, {"--sim-script=idle 2"}, {"open", "start", "wait:300", "hang", "close"}};
    scenario.runLimitMs = kLimitMs;
    const auto begin = std::chrono::steady_clock::now();
    HostRun run = RunHost(scenario);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
    PrintOnFailure print(run);
    EXPECT_TRUE(run.timedOut);
    EXPECT_FALSE(run.Finished());
    EXPECT_LT(took.count(), kLimitMs / 1000.0 + 30) << "ended by the watchdog, not by the host's own";
    const std::string& report = run.hangReport;
    EXPECT_NE(report.find("under way: step 3 (hang), since t="), std::string::npos) << report;
    EXPECT_NE(report.find("do=wait"), std::string::npos) << "the last lines printed:\n" << report;

    // Each expected thread once: its role, where it starts, what its block must show.
    struct Expected {
        const char* role;
        const char* start;
        const char* shows;
    } expected[] = {
        {"main", "test_host.exe!", "HangForever()"},
        {"plug-in", "OrvikPlug.dll!DispatchKeys(void*)+0x0,", "waiting in Nt"},
        {"plug-in", "OrvikPlug.dll!(anonymous namespace)::SamplingThreadBody(void*)+0x0,", "OrvikPlug.dll!"},
    };
    const std::vector<std::string> blocks = ThreadBlocks(report);
    for (const Expected& e : expected) {
        int found = 0;
        for (const std::string& block : blocks)
            if (block.find(std::string(" ") + e.role + ", start " + e.start) != std::string::npos) {
                ++found;
                EXPECT_NE(block.find(e.shows), std::string::npos) << block;
            }
        EXPECT_EQ(found, 1) << e.role << " " << e.start << "\n" << report;
    }
    EXPECT_NE(report.find("of the plug-in: 2"), std::string::npos) << report;
}
