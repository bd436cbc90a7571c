// Stop while a button is held, and Start again while the remote keeps sending.
#include <gtest/gtest.h>

#include <algorithm>

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

// The remote never stops sending, so a button is held whenever Stop comes. Stop sends its release
// before it returns, nothing arrives while stopped, and after Start the first key message is a new
// press whose repeats count from 1 again.
TEST_P(StopWhileHeld, SendsTheReleaseAndStartPressesAnew) {
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
        EXPECT_EQ(PressesAndReleases(events),
                  (std::vector<std::string>{"press " + std::string(c.button.key),
                                            "release " + std::string(c.button.key)}));
        EXPECT_EQ(KeyEventsBetween(run, stop - 1, stop).back().event, "release");
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

namespace {

struct WayOutCase {
    const char* name;
    std::vector<std::string> steps; // after open, start and a second of the held button
};

class HeldButtonOnTheWayOut : public testing::TestWithParam<WayOutCase> {};

} // namespace

// Close, and Setup while running, with a button held: the host hears its release during the call,
// before the dialog shows (nothing reaches the host while it is open). After the dialog the
// threads run again and the button, still held, is a new press.
TEST_P(HeldButtonOnTheWayOut, GetsItsReleaseFirst) {
    const WayOutCase& c = GetParam();
    TestSettings settings;
    settings.waitR = 400;
    ScriptText script;
    script.Wait(200).Step("loop 0").Hold(kAmpPlay, 1).Wait(kBiPhaseIntervalMs).Step("end");
    Scenario scenario{Driver::Simulator, {}, {"open:Den", "start", "wait:1200"}, RemoteFiles(settings)};
    scenario.steps.insert(scenario.steps.end(), c.steps.begin(), c.steps.end());
    UseSimScript(scenario, script.Text());
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(KeySequenceFaults(run), std::vector<std::string>{});
    // A repeat the dispatcher was already sending when the call came is let through first.
    const std::vector<KeyEvent> during = KeyEventsBetween(run, 2, 3);
    const auto release =
        std::find_if(during.begin(), during.end(), [](const KeyEvent& e) { return e.event != "repeat"; });
    ASSERT_NE(release, during.end());
    EXPECT_EQ(release->event, "release");
    EXPECT_EQ(release->key, kAmpPlay.key);
    EXPECT_EQ(PressesAndReleases(KeyEventsBetween(run, 0, 2)), std::vector<std::string>{"press Play"});
    for (const ParsedLine* dialog : run.Of("dialog"))
        EXPECT_LT(run.IndexOf(release->line), run.IndexOf(dialog));
}

INSTANTIATE_TEST_SUITE_P(Calls, HeldButtonOnTheWayOut,
                         testing::Values(WayOutCase{"close", {"close"}},
                                         WayOutCase{"setup", {"setup:400", "wait:300", "close"}}),
                         [](const testing::TestParamInfo<WayOutCase>& info) { return info.param.name; });
