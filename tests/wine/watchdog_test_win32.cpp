// The watchdogs: of a host run, on a host step that never returns while the plug-in receives, and
// of a test program itself, on a test that never ends. Either program is ended long before the
// test's own limit, and the report names the step or test and tells where each thread waits.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>

#include "tests/watchdog/test_watchdog_win32.h"
#include "tests/wine/host_run_win32.h"

namespace {

// The report's block of each thread: its line and the stack lines below it.
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

struct ExpectedThread {
    const char* role;
    const char* start; // where its start routine is
    const char* shows; // what its block holds besides
};

void ExpectThreads(const std::string& report, std::initializer_list<ExpectedThread> expected) {
    const std::vector<std::string> blocks = ThreadBlocks(report);
    for (const ExpectedThread& e : expected) {
        int found = 0;
        for (const std::string& block : blocks)
            if (block.find(std::string(" ") + e.role + ", start " + e.start) != std::string::npos) {
                ++found;
                EXPECT_NE(block.find(e.shows), std::string::npos) << block;
            }
        EXPECT_EQ(found, 1) << e.role << " " << e.start << "\n" << report;
    }
}

// The test that never ends, for the second check. It exists only in the program that check
// starts, whose environment asks for it.
class NeverEnds : public testing::Test {
    void TestBody() override {
        WatchNote("waiting for an event nobody sets");
        WaitForSingleObject(CreateEventA(nullptr, TRUE, FALSE, nullptr), INFINITE);
    }
};
const bool kTargetRegistered =
    std::getenv("ORVIK_WATCHDOG_TARGET") != nullptr &&
    (testing::RegisterTest("WatchdogTarget", "NeverEnds", nullptr, nullptr, __FILE__, __LINE__,
                           []() -> testing::Test* { return new NeverEnds; }),
     true);

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
    EXPECT_NE(report.find("of the plug-in: 2"), std::string::npos) << report;
    ExpectThreads(report, {{"main", "test_host.exe!", "HangForever()"},
                           {"plug-in", "OrvikPlug.dll!DispatchKeys(void*)+0x0,", "waiting in Nt"},
                           {"plug-in", "OrvikPlug.dll!(anonymous namespace)::SamplingThreadBody(void*)+0x0,",
                            "OrvikPlug.dll!"}});
}

TEST(Watchdog, ReportsATestOfItsProgramThatNeverEnds) {
    char self[MAX_PATH] = "";
    char folder[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    GetTempPathA(MAX_PATH, folder);
    SetEnvironmentVariableA("ORVIK_WATCHDOG_TARGET", "1");
    SetEnvironmentVariableA("ORVIK_TEST_LIMIT_MS", "3000");
    HostRun run;
    const bool started = RunCaptured({self, "--gtest_filter=WatchdogTarget.*"}, folder, 60000, &run);
    SetEnvironmentVariableA("ORVIK_WATCHDOG_TARGET", nullptr);
    SetEnvironmentVariableA("ORVIK_TEST_LIMIT_MS", nullptr);
    ASSERT_TRUE(started);
    EXPECT_FALSE(run.timedOut) << "ended by its own watchdog";
    EXPECT_EQ(run.exitCode, 3) << run.output;
    const std::string& report = run.output;
    EXPECT_NE(report.find("test WatchdogTarget.NeverEnds has run for"), std::string::npos) << report;
    EXPECT_NE(report.find("under way: waiting for an event nobody sets, since"), std::string::npos) << report;
    ExpectThreads(report, {{"main", "orvik_wine_tests.exe!", "NeverEnds::TestBody()"}});
}
