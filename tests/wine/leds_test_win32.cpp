// The indicator LEDs on the receiver's data port, for each BlinkMode, as the simulator's port-write
// log shows them: set up when the receiver appears or sampling starts with it attached, the
// reception pattern for each batch, ready again after it, the scheme's lines among D0 and D1 off
// at Stop. Lines the scheme does not use are never written.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/wine/remote_scripts.h"
#include "tests/wine/scenario_checks_win32.h"

namespace {

struct PortWrite {
    std::string kind; // "out" or "dir"
    int64_t value;
    std::string on; // "worker" (sampling thread) or "host" (Stop)
};

std::string Text(const std::vector<PortWrite>& writes) {
    std::string text;
    for (const PortWrite& w : writes)
        text += w.kind + "=" + std::to_string(w.value) + "@" + w.on + " ";
    return text;
}

struct LedCase {
    const char* name;
    int blinkMode;
    std::vector<PortWrite> attached;  // the receiver answers for the first time
    std::vector<PortWrite> firstRun;  // two batches from output 0xE6, then Stop
    std::vector<PortWrite> secondRun; // after Start again: one batch, then Stop
};

class Leds : public testing::TestWithParam<LedCase> {};

enum StepIndex {
    kOpen,
    kInitialPort,
    kStart1,
    kUntilAttached,
    kLogAttached,
    kSetPort,
    kFrames1,
    kBatches1,
    kStop1,
    kLogRun1,
    kStopped,
    kFrames2,
    kStart2,
    kBatches2,
    kStop2,
    kLogRun2,
    kClose
};

// A script for the step sim-script: its clock starts at the poll after the step, so the frames
// fall between the host's steps however long those take on a busy machine.
std::string ScriptStep(const ScriptText& script) {
    std::string text = script.Text();
    std::replace(text.begin(), text.end(), '\n', ';');
    return "sim-script:" + text;
}

std::vector<PortWrite> WritesLoggedAt(const HostRun& run, int step) {
    std::vector<PortWrite> writes;
    for (const ParsedLine* line : LinesBetween(run, "simlog", step - 1, step)) {
        const std::string kind = line->Get("kind");
        if (kind == "out" || kind == "dir")
            writes.push_back({kind, line->Number("value").value_or(-1), line->Get("on")});
    }
    return writes;
}

} // namespace

// The receiver answers status 0 from the first poll: it has just been attached. The output byte
// is then set to 0xE6 from outside (D1 and D2 on, D0 off, lines 5 to 7 on), so the writes show
// which lines each pattern touches. After Stop and Start the receiver is still attached: the first
// poll sets the LEDs up again, so the ready pattern is back at once.
TEST_P(Leds, FollowTheBlinkMode) {
    const LedCase& c = GetParam();
    TestSettings settings;
    settings.blinkMode = c.blinkMode;
    Jitter jitter;
    ScriptText run1;
    run1.Step("idle 0").Wait(100).Send(FirstFrame(kAmpPlay, jitter)).Wait(400);
    run1.Send(FirstFrame(kAmpMute, jitter)).Wait(300);
    ScriptText run2;
    run2.Step("idle 0").Wait(200).Send(FirstFrame(kAmpPlay, jitter)).Wait(300);
    Scenario scenario{Driver::Simulator,
                      {SimScriptOption("idle 0")},
                      {"open", "sim-port:0x00,0x30", "start", "wait:300", "sim-log", "sim-port:0xE6,0x30",
                       ScriptStep(run1), "wait:1300", "stop", "sim-log", "wait:200", ScriptStep(run2),
                       "start", "wait:1000", "stop", "sim-log", "close"},
                      RemoteFiles(settings)};
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    // The batches fell where the steps expect them: two in the first run, one in the second.
    const int handOvers[][2] = {{kLogAttached, 0}, {kLogRun1, 2}, {kLogRun2, 1}};
    for (const auto& [step, count] : handOvers) {
        std::vector<const ParsedLine*> logged = LinesBetween(run, "simlog", step - 1, step);
        EXPECT_EQ(std::count_if(logged.begin(), logged.end(),
                                [](const ParsedLine* line) { return line->Get("kind") == "handover"; }),
                  count)
            << "hand-overs logged at step " << step;
    }

    EXPECT_EQ(Text(WritesLoggedAt(run, kLogAttached)), Text(c.attached));
    EXPECT_EQ(Text(WritesLoggedAt(run, kLogRun1)), Text(c.firstRun));
    EXPECT_EQ(Text(WritesLoggedAt(run, kLogRun2)), Text(c.secondRun));
}

// 0xE6 & ~mask | pattern, per mode: mode 1 drives D0 and D1 (ready 1, reception 3), mode 2 D0
// (ready 1, reception 0), mode 3 D0 to D2 (ready 1, nothing during reception), mode 0 nothing.
// Stop clears D0 and D1 in modes 1 and 3, D0 in mode 2.
INSTANTIATE_TEST_SUITE_P(
    BlinkModes, Leds,
    testing::Values(LedCase{"none", 0, {}, {}, {}},
                    LedCase{"ready_and_reception",
                            1,
                            {{"dir", 0x33, "worker"}, {"out", 0x01, "worker"}},
                            {{"out", 0xE7, "worker"},
                             {"out", 0xE5, "worker"},
                             {"out", 0xE7, "worker"},
                             {"out", 0xE5, "worker"},
                             {"out", 0xE4, "host"}},
                            {{"dir", 0x33, "worker"},
                             {"out", 0xE5, "worker"},
                             {"out", 0xE7, "worker"},
                             {"out", 0xE5, "worker"},
                             {"out", 0xE4, "host"}}},
                    LedCase{"ready_off_during_reception",
                            2,
                            {{"dir", 0x31, "worker"}, {"out", 0x01, "worker"}},
                            {{"out", 0xE6, "worker"},
                             {"out", 0xE7, "worker"},
                             {"out", 0xE6, "worker"},
                             {"out", 0xE7, "worker"},
                             {"out", 0xE6, "host"}},
                            {{"dir", 0x31, "worker"},
                             {"out", 0xE7, "worker"},
                             {"out", 0xE6, "worker"},
                             {"out", 0xE7, "worker"},
                             {"out", 0xE6, "host"}}},
                    LedCase{"ready_only",
                            3,
                            {{"dir", 0x37, "worker"}, {"out", 0x01, "worker"}},
                            {{"out", 0xE4, "host"}},
                            {{"dir", 0x37, "worker"}, {"out", 0xE1, "worker"}, {"out", 0xE0, "host"}}}),
    [](const testing::TestParamInfo<LedCase>& info) { return info.param.name; });

namespace {

struct ManualLinesCase {
    int blinkMode;
    int64_t outAfterStop; // after each of two Start/Stop runs
};

class LedsAndManualLines : public testing::TestWithParam<ManualLinesCase> {};

} // namespace

// The host sets D0, D1 and D4 to D7 through a manual action for its own lamps and relays. Start
// (receiver attached) and Stop change only the lines of the scheme: D4 to D7 stay on in every
// mode, D0 and D1 too where the scheme does not use them.
TEST_P(LedsAndManualLines, SurviveStartAndStop) {
    const ManualLinesCase& c = GetParam();
    TestSettings settings;
    settings.blinkMode = c.blinkMode;
    Scenario scenario{Driver::Simulator,
                      {},
                      {"open", "action:1:t=SetDataPort|t=Data|n=0xF3", "start", "wait:300", "stop", "sim",
                       "start", "wait:300", "stop", "sim", "close"},
                      RemoteFiles(settings)};
    UseSimScript(scenario, "idle 0\n");
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    const std::vector<const ParsedLine*> sim = SimStates(run);
    ASSERT_EQ(sim.size(), 2u);
    for (const ParsedLine* state : sim)
        EXPECT_EQ(state->Number("out"), c.outAfterStop);
}

INSTANTIATE_TEST_SUITE_P(BlinkModes, LedsAndManualLines,
                         testing::Values(ManualLinesCase{0, 0xF3}, ManualLinesCase{1, 0xF0},
                                         ManualLinesCase{2, 0xF2}, ManualLinesCase{3, 0xF0}),
                         [](const testing::TestParamInfo<ManualLinesCase>& info) {
                             return "mode_" + std::to_string(info.param.blinkMode);
                         });

// The receiver answers every poll while the host sets its relay lines D4 to D7, 80 times, by whole
// byte and by one line in turn; each action's id is the state of those lines it leaves. Every port
// call takes 2 ms, as one USB transfer does, so an LED update's read and write lie far apart. No
// LED write may put back lines the host changed, and every reply (1030) shows them as set.
TEST(LedsAndHostSets, NoLedWriteUndoesAHostSetDuringReception) {
    TestSettings settings;
    settings.pollFreq = 100;
    Scenario scenario{Driver::Simulator,
                      {},
                      {"open", "sim-port:0x00,0xF3", "start", "wait:100", "repeat:20",
                       "action:240:t=SetDataPort|t=Data|n=0xF0", "action:224:t=SetDataPort|t=Data|n=0|n=4",
                       "action:240:t=SetDataPort|t=Data|n=1|n=4", "action:0:t=SetDataPort|t=Data|n=0", "end",
                       "stop", "sim-log", "close"},
                      RemoteFiles(settings)};
    UseSimScript(scenario,
                 "portdelay 2\nidle 0\nloop 0\nsend " + std::string(kRc5FrameBytes) + "\nwait 10\nend\n");
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    int hostLines = 0; // D4 to D7 as the host's last write left them
    int ledWrites = 0;
    int undone = 0; // Sets that an LED write undid before the host's next write
    bool counted = true;
    for (const ParsedLine* line : run.Matching("simlog", {{"kind", "out"}})) {
        const int lines = static_cast<int>(line->Number("value").value_or(-1)) & 0xF0;
        if (line->Get("on") == "host") {
            hostLines = lines;
            counted = false;
        } else {
            ++ledWrites;
            undone += lines != hostLines && !counted ? 1 : 0;
            counted = counted || lines != hostLines;
        }
    }
    const std::vector<const ParsedLine*> replies = run.Matching("msg", {{"n", "1030"}});
    EXPECT_EQ(replies.size(), 80u);
    for (const ParsedLine* reply : replies)
        EXPECT_EQ(reply->Number("v0").value_or(-1) & 0xF0, reply->Number("id").value_or(-1))
            << run.IndexOf(reply);
    EXPECT_GT(ledWrites, 20) << "too few LED updates during the Sets to tell";
    EXPECT_EQ(undone, 0) << "of 80 Sets undone (" << ledWrites << " LED writes)";
}
