// Open, Start, Stop, Setup and Close as a host calls them: version test, worker threads, boxes.
#include <gtest/gtest.h>

#include "tests/wine/host_run_win32.h"
#include "tests/wine/key_events_win32.h"
#include "tests/wine/remote_scripts.h"
#include "tests/wine/scenario_checks_win32.h"

namespace {

struct VersionCase {
    const char* name;
    const char* word; // --host-version value
    bool accepted;
};

class HostVersion : public testing::TestWithParam<VersionCase> {};

} // namespace

// Accepted or refused shows in Start: threads start, or the box comes and nothing starts.
TEST_P(HostVersion, DecidesWhetherStartRuns) {
    const VersionCase& c = GetParam();
    HostRun run = RunHost({Driver::Simulator,
                           {std::string("--host-version=") + c.word},
                           {"open:Den", "start", "wait:150", "sim", "stop", "close"}});
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    std::vector<const ParsedLine*> sim = SimStates(run);
    ASSERT_EQ(sim.size(), 1u);
    if (c.accepted) {
        ExpectBoxes(run, {});
        EXPECT_EQ(PluginThreadsAfter(run, 1), 2);
        EXPECT_GT(sim[0]->Number("infra_calls"), 0);
    } else {
        ExpectBoxes(run, {kIncorrectVersion});
        EXPECT_EQ(PluginThreadsAfter(run, 1), 0);
        EXPECT_EQ(sim[0]->Number("infra_calls"), 0);
    }
    EXPECT_EQ(PluginThreadsAfter(run, 5), 0);
}

INSTANTIATE_TEST_SUITE_P(Words, HostVersion,
                         testing::Values(VersionCase{"v2_7_12_0", "0x02070C00", true},
                                         VersionCase{"v2_7_255_255", "0x0207FFFF", true},
                                         VersionCase{"v2_7_13_0", "0x02070D00", true},
                                         VersionCase{"v2_7_11_255", "0x02070BFF", false},
                                         VersionCase{"v2_8_0_0", "0x02080000", false},
                                         VersionCase{"v3_7_12_0", "0x03070C00", false},
                                         VersionCase{"v18_7_12_0", "0x12070C00", false},
                                         VersionCase{"null", "null", false}),
                         [](const testing::TestParamInfo<VersionCase>& info) { return info.param.name; });

// Junk remote files beside the plug-in, one far above the size the plug-in reads and one of its
// largest size, both of short lines (once enough to exhaust the host's memory): Open passes the
// version test, Start runs, and the buttons of the other remotes are named as ever.
TEST(Lifecycle, LargeJunkRemoteFilesBreakNothing) {
    TestSettings settings;
    ScriptText script;
    script.Wait(300).Hold(kTvPower, 1);
    Scenario scenario{
        Driver::Simulator, {}, {"open:Den", "start", "wait:1500", "stop", "close"}, RemoteFiles(settings)};
    std::string junk;
    for (size_t n = 0; junk.size() < (size_t{32} << 20); ++n)
        junk += std::to_string(n % 1000) + "=\r\n";
    scenario.files.emplace_back("Junk.cfg", "[Code]\r\n" + junk);
    junk.resize(1u << 20);
    scenario.files.emplace_back("Edge.cfg", "[Code]\r\n" + junk.substr(8));
    UseSimScript(scenario, script.Text());
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    ExpectBoxes(run, {});
    EXPECT_EQ(PluginThreadsAfter(run, 1), 2);
    const std::vector<KeyEvent> events = KeyEventsBetween(run, 0, 3);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front().event, "press");
    EXPECT_EQ(events.front().key, kTvPower.key);
    EXPECT_EQ(events.front().remote, kTvPower.remote);
}

// A save that failed half-way left the settings only in their rescue copy: Open says where they are.
TEST(Lifecycle, ARescueCopyIsNamedAtOpen) {
    Scenario scenario{Driver::Simulator, {}, {"open", "close"}};
    scenario.files.emplace_back("OrvikPlug.ini.tmp~", "[Receiver]\r\nMode=2\r\n");
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    ASSERT_EQ(run.Of("box").size(), 1u);
    const std::string text = run.Of("box")[0]->Get("text");
    EXPECT_TRUE(text.starts_with("A save could not finish replacing these files")) << text;
    const std::string last = text.substr(text.rfind('\n') + 1);
    const std::string path = last.substr(0, last.find(" -> "));
    EXPECT_TRUE(path.ends_with("\\OrvikPlug.ini")) << text;
    EXPECT_EQ(last, path + " -> " + path + ".tmp~");
}

TEST(Lifecycle, StartRefusedShowsTheBoxEveryTimeAndStartsNothing) {
    HostRun run = RunHost({Driver::Simulator,
                           {"--host-version=0x02070BFF"},
                           {"open", "start", "start", "start", "wait:100", "sim", "close"}});
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    ExpectBoxes(run, {kIncorrectVersion, kIncorrectVersion, kIncorrectVersion});
    for (int start = 1; start <= 3; ++start) {
        EXPECT_EQ(LinesBetween(run, "box", start - 1, start).size(), 1u) << "start step " << start;
        EXPECT_EQ(PluginThreadsAfter(run, start), 0);
    }
    EXPECT_EQ(SimStates(run)[0]->Number("infra_calls"), 0);
}

// Start is idempotent, so is Stop; the port's D0 and D1 are switched off once, at the stop that
// ended the threads, and D2 to D7 keep their state.
TEST(Lifecycle, StartStartStopStopRunsTheThreadsOnce) {
    HostRun run = RunHost({Driver::Simulator,
                           {},
                           {
                               "open",               // 0
                               "sim-port:0xFF,0x0F", // 1
                               "sim",                // 2  before
                               "start",              // 3
                               "wait:300",           // 4
                               "sim",                // 5  running
                               "start",              // 6
                               "wait:100",           // 7
                               "sim",                // 8  after the second start
                               "stop",               // 9
                               "sim",                // 10 stopped
                               "wait:200",           // 11
                               "sim",                // 12 still stopped
                               "stop",               // 13
                               "sim",                // 14 after the second stop
                               "sim-log",            // 15
                               "close",              // 16
                           }});
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    ExpectBoxes(run, {});
    std::vector<const ParsedLine*> sim = SimStates(run);
    ASSERT_EQ(sim.size(), 6u);
    // Two threads from the first Start to the first Stop, and the same two: polling begins with
    // Start and ends with Stop, on one thread.
    const int pluginThreads[][2] = {{3, 2}, {6, 2}, {9, 0}, {13, 0}};
    for (const auto& [step, threads] : pluginThreads)
        EXPECT_EQ(PluginThreadsAfter(run, step), threads) << "after step " << step;
    EXPECT_EQ(sim[0]->Number("infra_calls"), 0);
    EXPECT_GT(sim[1]->Number("infra_calls"), 0);
    EXPECT_GT(sim[2]->Number("infra_calls"), sim[1]->Number("infra_calls"));
    EXPECT_EQ(sim[4]->Number("infra_calls"), sim[3]->Number("infra_calls"));
    EXPECT_EQ(sim[5]->Number("infra_calls"), sim[3]->Number("infra_calls"));
    EXPECT_EQ(sim[5]->Number("infra_threads"), 1);

    std::vector<const ParsedLine*> hostWrites = run.Matching("simlog", {{"on", "host"}});
    ASSERT_EQ(hostWrites.size(), 1u);
    EXPECT_EQ(hostWrites[0]->Get("kind"), "out");
    EXPECT_EQ(hostWrites[0]->Number("value"), 0xFC);
    EXPECT_EQ(sim[5]->Number("out"), 0xFC);
    EXPECT_EQ(sim[5]->Number("dir"), 0x0F);
}

namespace {

struct SetupCase {
    const char* name;
    Driver driver;
    const char* version;
    bool runningBefore;
    std::vector<std::string> boxes;
    int pollingThreads; // sampling threads that ever polled the driver
};

class SetupStandIn : public testing::TestWithParam<SetupCase> {};

} // namespace

// Setup shows a modal dialog owned by the host window, publishes it in _SetupForm while it is on
// screen, sends no host message, and leaves the running state as it found it.
TEST_P(SetupStandIn, OpensAndClosesLeavingTheRunningState) {
    const SetupCase& c = GetParam();
    std::vector<std::string> steps = {
        "open", c.runningBefore ? "start" : "sim", "wait:100", "sim", "setup:150", "wait:150", "sim", "stop",
        "close"};
    HostRun run = RunHost({c.driver, {std::string("--host-version=") + c.version}, steps});
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    ExpectBoxes(run, c.boxes);
    std::vector<const ParsedLine*> dialogs = run.Of("dialog");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0]->Number("found"), 1);
    EXPECT_NE(dialogs[0]->Number("setupform"), 0);
    // Live signals while the dialog is on screen, when the plug-in can receive at all.
    EXPECT_EQ(dialogs[0]->Number("plugin_threads"), c.pollingThreads > 0 ? 2 : 0);
    ASSERT_EQ(run.Of("dialog-close").size(), 1u);
    EXPECT_EQ(run.Of("dialog-close")[0]->Get("modal"), "yes");
    EXPECT_EQ(run.Number(run.Step(4), "setupform"), 0);
    EXPECT_TRUE(run.Matching("msg", {{"n", "1025"}}).empty());
    EXPECT_EQ(PluginThreadsAfter(run, 1), c.runningBefore ? 2 : 0);
    EXPECT_EQ(PluginThreadsAfter(run, 4), c.runningBefore ? 2 : 0);
    if (c.driver == Driver::Simulator) {
        std::vector<const ParsedLine*> sim = SimStates(run);
        ASSERT_GE(sim.size(), 2u);
        const ParsedLine* before = sim[sim.size() - 2];
        const ParsedLine* after = sim.back();
        // The dialog gets live signals: the workers poll while it is on screen. Setup while
        // running stops them at the end and starts new ones.
        EXPECT_EQ(after->Number("infra_calls") > before->Number("infra_calls"), c.pollingThreads > 0);
        EXPECT_EQ(after->Number("infra_threads"), c.pollingThreads);
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, SetupStandIn,
    testing::Values(SetupCase{"stopped", Driver::Simulator, "0x02070C00", false, {}, 1},
                    SetupCase{"running", Driver::Simulator, "0x02070C00", true, {}, 2},
                    SetupCase{
                        "refused_version", Driver::Simulator, "0x02070B00", false, {kIncorrectVersion}, 0},
                    SetupCase{"no_driver", Driver::None, "0x02070C00", false, {kErrorLoading}, 0}),
    [](const testing::TestParamInfo<SetupCase>& info) { return info.param.name; });
