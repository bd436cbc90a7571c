// Exports called while another export of the plug-in is still running: from a host handler of a
// message that Stop's join lets through, and a second Open while receiving.
#include <gtest/gtest.h>

#include "tests/wine/key_events_win32.h"
#include "tests/wine/remote_scripts.h"
#include "tests/wine/scenario_checks_win32.h"

namespace {

// The simulator's polling thread sends this to the host window at every poll; the host sleeps
// before Stop, so one such send waits for Stop's join to let it through.
constexpr int kHostMessage = 1100;
// A hang shows as the watchdog's report, well before the test's own limit.
constexpr unsigned kRunLimitMs = 20000;

} // namespace

// The handler calls Stop and Start (or Close) again inside Stop. The nested calls return at once
// and start nothing; the outer Stop ends both threads, and a later Start works as before.
TEST(Reentry, ExportsCalledFromInsideStopDoNothing) {
    enum {
        kOpen,
        kStart1,
        kRunning,
        kBusy,
        kStop1,
        kSim1,
        kStopped,
        kSim2,
        kStart2,
        kRunning2,
        kSim3,
        kClose
    };
    for (const char* nested : {"stop,start", "close"}) {
        SCOPED_TRACE(nested);
        Scenario scenario{Driver::Simulator,
                          {"--nested=" + std::to_string(kHostMessage) + ":" + nested},
                          {"open", "start", "wait:300", "sleep:300", "stop", "sim", "wait:200", "sim",
                           "start", "wait:300", "sim", "close"},
                          RemoteFiles(TestSettings{})};
        scenario.runLimitMs = kRunLimitMs;
        UseSimScript(scenario, "loop 0\nhostmsg " + std::to_string(kHostMessage) + "\nwait 40\nend\n");
        HostRun run = RunHost(scenario);
        PrintOnFailure print(run);
        ASSERT_TRUE(run.Finished());
        const std::vector<const ParsedLine*> calls = run.Of("nested");
        ASSERT_FALSE(calls.empty());
        for (const ParsedLine* call : calls)
            EXPECT_LT(run.IndexOf(call), run.IndexOf(run.Step(kStop1)));
        EXPECT_EQ(PluginThreadsAfter(run, kStop1), 0);
        const std::vector<const ParsedLine*> sim = SimStates(run);
        ASSERT_EQ(sim.size(), 3u);
        EXPECT_EQ(sim[1]->Number("infra_calls"), sim[0]->Number("infra_calls"));
        // Receiving still starts afterwards.
        EXPECT_EQ(PluginThreadsAfter(run, kStart2), 2);
        EXPECT_GT(sim[2]->Number("infra_calls"), sim[1]->Number("infra_calls"));
    }
}

// Open while receiving stops receiving first, as Close does, and leaves it stopped; the next
// Start reports under the new instance name.
TEST(Reentry, ASecondOpenStopsReceiving) {
    enum { kOpen1, kStart1, kHeld1, kOpen2, kStopped, kStart2, kHeld2, kStop, kClose };
    ScriptText script;
    script.Wait(100).Step("loop 0").Hold(kAmpPlay, 1).Wait(kBiPhaseIntervalMs).Step("end");
    Scenario scenario{
        Driver::Simulator,
        {},
        {"open:First", "start", "wait:500", "open:Second", "wait:400", "start", "wait:500", "stop", "close"},
        RemoteFiles(TestSettings{})};
    scenario.runLimitMs = kRunLimitMs;
    UseSimScript(scenario, script.Text());
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(PluginThreadsAfter(run, kOpen2), 0);
    EXPECT_TRUE(KeyEventsBetween(run, kOpen2, kStart2).empty());
    const std::vector<KeyEvent> after = KeyEventsBetween(run, kStart2, kStop);
    ASSERT_FALSE(after.empty());
    for (const KeyEvent& e : after)
        EXPECT_EQ(e.line->Get("instance"), "Second");
}
