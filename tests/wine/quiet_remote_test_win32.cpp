// Stop after the remote has gone quiet, with a host that was busy (not pumping messages) while a
// key message fell due: Stop must return, and the next Start must report nothing that the remote
// did not send after it.
#include <gtest/gtest.h>

#include "tests/wine/key_events_win32.h"
#include "tests/wine/remote_scripts.h"
#include "tests/wine/scenario_checks_win32.h"

namespace {

// A hang shows as the watchdog's report, well before the test's own limit.
constexpr unsigned kRunLimitMs = 20000;

} // namespace

// One frame, then silence. The release falls due while the host sleeps, so the dispatcher waits
// inside its SendMessage; Stop's join delivers it, and the dispatcher must then see Stop's flag
// although its own reset has wiped Stop's signal.
TEST(QuietRemote, StopReturnsWhenTheReleaseWaitedForABusyHost) {
    enum { kOpen, kStart, kPressed, kBusy, kStop, kClose };
    Jitter jitter;
    ScriptText script;
    script.Wait(100).Send(FirstFrame(kAmpPlay, jitter));
    TestSettings settings;
    settings.wait1 = 5000; // no repeat: the message that waits is the release
    settings.waitR = 600;  // it falls due 700 to 800 ms after the frame, mid-sleep
    Scenario scenario{Driver::Simulator,
                      {},
                      {"open", "start", "wait:400", "sleep:1000", "stop", "close"},
                      RemoteFiles(settings)};
    scenario.runLimitMs = kRunLimitMs;
    UseSimScript(scenario, script.Text());
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(PressesAndReleases(KeyEventsBetween(run, kStart, kBusy)),
              std::vector<std::string>{"press Play"});
    EXPECT_EQ(PressesAndReleases(KeyEventsBetween(run, kBusy, kStop)),
              std::vector<std::string>{"release Play"});
    EXPECT_EQ(PluginThreadsAfter(run, kStop), 0);
}

// A held button whose last frames are handed over while the dispatcher waits for the busy host:
// that hand-off is still pending at Stop, which releases the button. The next Start must not
// report it.
TEST(QuietRemote, StartReportsNothingLeftFromBeforeStop) {
    enum { kOpen, kStart1, kHeld, kBusy, kStop1, kStopped, kStart2, kQuiet, kStop2, kClose };
    ScriptText script;
    script.Wait(100).Hold(kAmpPlay, 8); // about 100 to 900 ms
    Scenario scenario{
        Driver::Simulator,
        {},
        {"open", "start", "wait:500", "sleep:800", "stop", "wait:300", "start", "wait:800", "stop", "close"},
        RemoteFiles(TestSettings{})};
    scenario.runLimitMs = kRunLimitMs;
    UseSimScript(scenario, script.Text());
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(PressesAndReleases(KeyEventsBetween(run, kStart1, kStop1)),
              (std::vector<std::string>{"press Play", "release Play"}));
    EXPECT_TRUE(KeyEventsBetween(run, kStop1, kClose).empty());
    EXPECT_EQ(KeySequenceFaults(run), std::vector<std::string>{});
    EXPECT_EQ(PluginThreadsAfter(run, kStop2), 0);
}
