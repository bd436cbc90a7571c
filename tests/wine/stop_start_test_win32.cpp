// Stop while a button is held, and Start again while the remote keeps sending.
#include <gtest/gtest.h>

#include "tests/wine/key_events_win32.h"
#include "tests/wine/remote_scripts.h"
#include "tests/wine/scenario_checks_win32.h"

namespace {

struct StreamCase {
    const char* name;
    Button button;
    int framesPerRound; // whole frame first; a pulse-distance remote sends repeat frames after it
};

class StopWhileHeld : public testing::TestWithParam<StreamCase> {};

enum StepIndex { kOpen, kStart1, kHeld1, kStop1, kStopped, kStart2, kHeld2, kStop2, kClose };

} // namespace

// The remote never stops sending, so a button is held whenever Stop comes. Stop sends no release,
// nothing arrives while stopped, and after Start the first key message is a new press whose
// repeats count from 1 again.
TEST_P(StopWhileHeld, SendsNoReleaseAndStartPressesAnew) {
    const StreamCase& c = GetParam();
    TestSettings settings;
    settings.waitR = 400; // frames come every 114 ms at most: no release while they keep coming
    ScriptText script;
    script.Wait(200).Step("loop 0").Hold(c.button, c.framesPerRound).Wait(kBiPhaseIntervalMs).Step("end");
    Scenario scenario{
        Driver::Simulator,
        {},
        {"open:Den", "start", "wait:1200", "stop", "wait:300", "start", "wait:1200", "stop", "close"},
        RemoteFiles(settings)};
    UseSimScript(scenario, script.Text());
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(KeySequenceFaults(run), std::vector<std::string>{});

    for (auto [start, stop] : {std::pair{kStart1, kStop1}, std::pair{kStart2, kStop2}}) {
        SCOPED_TRACE("run from step " + std::to_string(start));
        const std::vector<KeyEvent> events = KeyEventsBetween(run, start - 1, stop);
        ASSERT_GE(events.size(), 2u);
        EXPECT_EQ(events.front().event, "press");
        EXPECT_EQ(events[1].event, "repeat");
        EXPECT_EQ(events[1].repeat, 1);
        EXPECT_EQ(PressesAndReleases(events), std::vector<std::string>{"press " + std::string(c.button.key)});
        for (const KeyEvent& e : events)
            EXPECT_EQ(e.code, CodeTextOf(CodeOf(c.button)));
        EXPECT_EQ(PluginThreadsAfter(run, stop), 0);
    }
    EXPECT_TRUE(KeyEventsBetween(run, kStop1, kStart2).empty());
    EXPECT_TRUE(KeyEventsBetween(run, kStop2, kClose).empty());
}

INSTANTIATE_TEST_SUITE_P(Remotes, StopWhileHeld,
                         testing::Values(StreamCase{"bi_phase", kAmpPlay, 1},
                                         // After a restart, repeat frames name no button until
                                         // the next whole frame.
                                         StreamCase{"pulse_distance", kTvPower, 4}),
                         [](const testing::TestParamInfo<StreamCase>& info) { return info.param.name; });
