// Stress: many Start/Stop and Open/Close cycles in one host process while the simulator streams
// bursts of several buttons. No hang, no crash, no thread left behind, and every press is
// released, at the latest by the Stop or Close that ends the threads.
//
// CTest runs reduced counts; ORVIK_STRESS_FULL=1 in the environment runs the full ones (1,000
// Start/Stop and 100 Open/Close cycles, a few minutes under Wine).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "tests/wine/key_events_win32.h"
#include "tests/wine/remote_scripts.h"
#include "tests/wine/scenario_checks_win32.h"

namespace {

bool FullCounts() {
    const char* full = std::getenv("ORVIK_STRESS_FULL");
    return full != nullptr && std::string(full) == "1";
}

// Buttons of both remotes, short and held, with gaps shorter and longer than WaitR, for ever.
std::string StreamScript() {
    ScriptText script;
    script.Wait(30).Step("loop 0");
    script.Hold(kAmpPlay, 1).Wait(260);
    script.Hold(kTvPower, 4).Wait(60);
    script.Hold(kAmpMute, 3).Wait(150);
    script.Hold(kTvTeletext, 2).Wait(40);
    script.Hold(kTvLouder, 1).Wait(300);
    return script.Step("end").Text();
}

struct StressRun {
    HostRun run;
    double seconds;
};

StressRun RunStress(std::vector<std::string> steps, int timeoutMs) {
    Scenario scenario{Driver::Simulator, {}, std::move(steps), RemoteFiles(TestSettings{})};
    scenario.runLimitMs = static_cast<unsigned>(timeoutMs);
    UseSimScript(scenario, StreamScript());
    const auto begin = std::chrono::steady_clock::now();
    HostRun run = RunHost(scenario);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
    return {std::move(run), took.count()};
}

// No plug-in thread outlives a Stop or Close, and both run through every wait of some length
// after a Start. (Right after Start a thread may not have begun to run yet, and Wine does not
// tell its start address before it has.)
void ExpectPluginThreads(const HostRun& run) {
    const std::vector<const ParsedLine*> steps = run.Of("step");
    bool running = false;
    int longWaits = 0;
    for (size_t i = 0; i < steps.size(); ++i) {
        const std::string verb = steps[i]->Get("do");
        const int64_t threads = steps[i]->Number("plugin_threads").value_or(-1);
        if (verb == "start") {
            running = true;
        } else if (verb == "stop" || verb == "close") {
            running = false;
            if (threads != 0) {
                ADD_FAILURE() << verb << " step " << steps[i]->Get("i") << " left " << threads << " threads";
                return;
            }
        } else if (verb == "wait" && running && i + 1 < steps.size()) {
            const double ms = steps[i + 1]->Real("t").value_or(0) - steps[i]->Real("t").value_or(0);
            if (ms < 30)
                continue;
            ++longWaits;
            if (threads != 2) {
                ADD_FAILURE() << "wait step " << steps[i]->Get("i") << " ended with " << threads
                              << " threads";
                return;
            }
        }
    }
    EXPECT_GT(longWaits, 0);
}

int Count(const std::vector<KeyEvent>& events, const std::string& event) {
    int n = 0;
    for (const KeyEvent& e : events)
        n += e.event == event ? 1 : 0;
    return n;
}

void ExpectKeysKeptTheRules(const StressRun& stress, const char* what, int cycles) {
    const HostRun& run = stress.run;
    std::printf("%s: %d cycles in %.1f s, %zu key messages\n", what, cycles, stress.seconds,
                KeyEvents(run).size());
    EXPECT_FALSE(run.timedOut);
    ASSERT_TRUE(run.Finished()) << "last lines:\n"
                                << run.output.substr(run.output.size() -
                                                     std::min<size_t>(run.output.size(), 3000));
    ExpectBoxes(run, {});
    const std::vector<std::string> faults = KeySequenceFaults(run);
    EXPECT_TRUE(faults.empty()) << faults.size()
                                << " faults, the first: " << (faults.empty() ? "" : faults[0]);
    // The stream really reached the host: presses, and releases of buttons let go while running.
    const std::vector<KeyEvent> events = KeyEvents(run);
    EXPECT_GE(Count(events, "press"), cycles / 10);
    EXPECT_GT(Count(events, "release"), 0);
    ExpectPluginThreads(run);
}

} // namespace

// Runs of 0 to 300 ms: Stop comes in every phase of a button, now and then after its release. The
// reduced count still starts more sampling threads than the simulator once could keep track of.
TEST(Stress, StartStopCycles) {
    const int cycles = FullCounts() ? 1000 : 150;
    const int groups = cycles / 5;
    std::vector<std::string> steps = {"open:Stress", "repeat:" + std::to_string(groups)};
    for (const char* wait : {"wait:0", "wait:10", "wait:30", "wait:60", "wait:300"})
        steps.insert(steps.end(), {"start", wait, "stop"});
    steps.insert(steps.end(), {"end", "sim", "close"});
    StressRun stress = RunStress(steps, FullCounts() ? 900000 : 120000);
    PrintOnFailure print(stress.run);
    ExpectKeysKeptTheRules(stress, "Start/Stop", cycles);
    std::vector<const ParsedLine*> sim = SimStates(stress.run);
    ASSERT_EQ(sim.size(), 1u);
    EXPECT_GT(sim[0]->Number("infra_calls"), cycles);
    EXPECT_GT(sim[0]->Number("handed"), cycles / 5);
}

// Each Open loads the driver and the definition files, each Close stops the threads and unloads
// the driver; the simulator's stream starts again with every load.
TEST(Stress, OpenCloseCycles) {
    const int cycles = FullCounts() ? 100 : 20;
    const int pairs = cycles / 2;
    StressRun stress = RunStress({"repeat:" + std::to_string(pairs), "open:Stress", "start", "wait:150",
                                  "close", "open:Stress", "start", "wait:600", "stop", "close", "end", "sim"},
                                 FullCounts() ? 600000 : 120000);
    PrintOnFailure print(stress.run);
    ExpectKeysKeptTheRules(stress, "Open/Close", cycles);
    std::vector<const ParsedLine*> sim = SimStates(stress.run);
    ASSERT_EQ(sim.size(), 1u);
    EXPECT_EQ(sim[0]->Number("loaded"), 0);
    EXPECT_EQ(sim[0]->Number("attaches"), cycles);
    EXPECT_EQ(sim[0]->Number("detaches"), cycles);
}
