// Buttons received end to end: synthetic frames of a bi-phase and a pulse-distance remote go
// through the receiver simulator and the real plug-in, and the host window gets press, repeats and
// release with the names from the remote definition files beside the plug-in.
#include <gtest/gtest.h>

#include "tests/wine/key_events_win32.h"
#include "tests/wine/remote_scripts.h"
#include "tests/wine/scenario_checks_win32.h"

namespace {

constexpr const char* kUndefined = "<undefined>";
constexpr const char* kInstance = "Living room";
// Tick count and performance counter are read at slightly different moments and grains.
constexpr double kClockSlackMs = 20;

struct HoldCase {
    const char* name;
    Button button;
    int frames;
    bool defined; // the definition files name it
};

class HeldButton : public testing::TestWithParam<HoldCase> {};

} // namespace

// A held button: one press, repeats numbered from 1 no earlier than Wait1 and WaitN allow, and a
// release no earlier than WaitR after the last frame; every message names the button.
TEST_P(HeldButton, GivesPressRepeatsAndReleaseWithItsNames) {
    const HoldCase& c = GetParam();
    const TestSettings settings;
    ScriptText script;
    script.Wait(300).Hold(c.button, c.frames).Wait(100);
    Scenario scenario{Driver::Simulator,
                      {},
                      {"open:Living room", "start", "wait:2400", "sim-log", "stop", "close"},
                      RemoteFiles(settings)};
    UseSimScript(scenario, script.Text());
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    ExpectBoxes(run, {});
    EXPECT_EQ(KeySequenceFaults(run), std::vector<std::string>{});

    const std::vector<double> handOvers = HandOverTimes(run);
    ASSERT_EQ(handOvers.size(), static_cast<size_t>(c.frames));
    const std::vector<KeyEvent> events = KeyEvents(run);
    ASSERT_GE(events.size(), 5u) << "a press, at least three repeats and a release";
    EXPECT_EQ(PressesAndReleases(events),
              (std::vector<std::string>{"press " + events[0].key, "release " + events[0].key}));
    EXPECT_EQ(events.front().event, "press");
    EXPECT_EQ(events.back().event, "release");

    const std::string code = CodeTextOf(CodeOf(c.button));
    for (const KeyEvent& e : events) {
        SCOPED_TRACE(e.event + " " + std::to_string(e.repeat));
        EXPECT_EQ(e.line->Get("how"), "sent");
        EXPECT_EQ(e.line->Get("instance"), kInstance);
        EXPECT_EQ(e.key, c.defined ? c.button.key : code);
        EXPECT_EQ(e.remote, c.defined ? c.button.remote : kUndefined);
        EXPECT_EQ(e.code, code);
        EXPECT_EQ(e.line->Get("ext"), "EXT");
        EXPECT_EQ(e.line->Number("v192"), 2);
        EXPECT_EQ(e.line->Number("k187"), 0);
    }

    // Lower bounds only: a busy machine makes everything later, never earlier. The press cannot
    // come before the first frame, so each repeat is due at the earliest from there.
    const size_t repeats = events.size() - 2;
    EXPECT_GE(events[0].t, handOvers.front());
    for (size_t n = 1; n <= repeats; ++n) {
        const double earliest =
            handOvers.front() + settings.wait1 + static_cast<double>(n - 1) * settings.waitN - kClockSlackMs;
        EXPECT_GE(events[n].t, earliest) << "repeat " << n;
    }
    EXPECT_GE(events.back().t, handOvers.back() + settings.waitR - kClockSlackMs);
}

INSTANTIATE_TEST_SUITE_P(Remotes, HeldButton,
                         testing::Values(HoldCase{"pulse_distance", kTvPower, 12, true},
                                         HoldCase{"pulse_distance_cp1251_name", kTvLouder, 12, true},
                                         HoldCase{"bi_phase", kAmpPlay, 11, true},
                                         HoldCase{"pulse_distance_undefined", kTvTeletext, 12, false},
                                         HoldCase{"bi_phase_undefined", kAmpEject, 11, false}),
                         [](const testing::TestParamInfo<HoldCase>& info) { return info.param.name; });

namespace {

struct ChangeCase {
    const char* name;
    Button first;
    int firstFrames;
    Button second;
    int secondFrames;
    std::vector<std::string> pressesAndReleases;
};

class ButtonChange : public testing::TestWithParam<ChangeCase> {};

} // namespace

// A second button that follows the first within WaitR: the first is released because the other
// one came, not by its time-out; a code of the same key of the same remote continues the held
// button without a release.
TEST_P(ButtonChange, ReleasesTheHeldButtonOnlyForAnotherKey) {
    const ChangeCase& c = GetParam();
    TestSettings settings;
    settings.waitR = 400; // room for a slow machine: the gap between the buttons is 60 ms
    ScriptText script;
    script.Wait(300).Hold(c.first, c.firstFrames).Wait(60).Hold(c.second, c.secondFrames);
    Scenario scenario{Driver::Simulator,
                      {},
                      {"open:Living room", "start", "wait:3200", "sim-log", "stop", "close"},
                      RemoteFiles(settings)};
    UseSimScript(scenario, script.Text());
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(KeySequenceFaults(run), std::vector<std::string>{});
    const std::vector<KeyEvent> events = KeyEvents(run);
    EXPECT_EQ(PressesAndReleases(events), c.pressesAndReleases);

    const std::vector<double> handOvers = HandOverTimes(run);
    ASSERT_EQ(handOvers.size(), static_cast<size_t>(c.firstFrames + c.secondFrames));
    const double secondArrived = handOvers[static_cast<size_t>(c.firstFrames)];
    const std::string secondCode = CodeTextOf(CodeOf(c.second));
    bool secondSeen = false;
    for (const KeyEvent& e : events) {
        if (e.code == secondCode) {
            secondSeen = true;
            EXPECT_GE(e.t, secondArrived) << "the second code's first message";
            break;
        }
        if (e.event == "release") {
            EXPECT_GE(e.t, secondArrived) << "released before the other button came";
        }
    }
    EXPECT_TRUE(secondSeen);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, ButtonChange,
    testing::Values(
        ChangeCase{"other_remote",
                   kTvPower,
                   6,
                   kAmpPlay,
                   5,
                   {"press Power", "release Power", "press Play", "release Play"}},
        ChangeCase{"undefined_code",
                   kAmpPlay,
                   5,
                   kTvTeletext,
                   4,
                   {"press Play", "release Play", "press " + CodeTextOf(CodeOf(kTvTeletext)),
                    "release " + CodeTextOf(CodeOf(kTvTeletext))}},
        ChangeCase{"same_key_other_code", kAmpPlay, 8, kAmpPlayOtherCode, 6, {"press Play", "release Play"}}),
    [](const testing::TestParamInfo<ChangeCase>& info) { return info.param.name; });
