#include "plugin/receiving_lifecycle.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

class FakeSteps : public ReceivingSteps {
  public:
    std::vector<std::string> calls;
    std::string failing;                  // the step that fails
    std::function<void()> insideStopJoin; // run once, as a host handler during the dispatcher's join
    // Run inside the first StopSampling, as a message that its join lets through may run an export.
    std::function<void()> duringStopSampling;

    bool StartSampling() override { return Record("StartSampling"); }
    void StopSampling() override {
        Record("StopSampling");
        if (const auto nested = std::exchange(duringStopSampling, nullptr))
            nested();
    }
    bool CreateKeySignal() override { return Record("CreateKeySignal"); }
    void CloseKeySignal() override { Record("CloseKeySignal"); }
    bool StartDispatcher() override { return Record("StartDispatcher"); }
    void StopDispatcher() override {
        Record("StopDispatcher");
        if (auto nested = std::exchange(insideStopJoin, nullptr))
            nested();
    }

  private:
    bool Record(const char* step) {
        calls.push_back(step);
        return failing != step;
    }
};

// Nested calls from inside Stop's join also run under Wine (Reentry tests); the undo order of a
// failed Start only here, where no Wine run can provoke it, and a Start from a message the undo's
// join lets through.
TEST(ReceivingLifecycle, AFailedStartUndoesItsStepsSamplingBeforeTheEvent) {
    struct {
        const char* failing;
        std::vector<std::string> calls;
    } cases[] = {
        {"StartSampling", {"StartSampling"}},
        {"CreateKeySignal", {"StartSampling", "CreateKeySignal", "StopSampling"}},
        // The sampling thread signals KeySignal until it has ended.
        {"StartDispatcher",
         {"StartSampling", "CreateKeySignal", "StartDispatcher", "StopSampling", "CloseKeySignal"}},
        {"", {"StartSampling", "CreateKeySignal", "StartDispatcher"}},
    };
    for (const auto& c : cases) {
        FakeSteps steps;
        steps.failing = c.failing;
        bool running = false;
        bool stopping = false;
        steps.duringStopSampling = [&] { StartReceiving(steps, running, stopping); };
        StartReceiving(steps, running, stopping);
        EXPECT_EQ(running, c.failing[0] == '\0') << c.failing;
        EXPECT_FALSE(stopping) << c.failing;
        EXPECT_EQ(steps.calls, c.calls) << c.failing;
    }
}

// Start, Stop and Start again, with a Stop or Start nested in the first Stop's join: the nested
// call does nothing, and the second Start starts everything anew.
TEST(ReceivingLifecycle, StartAfterStopStartsAgainAndCallsNestedInStopDoNothing) {
    const std::vector<std::string> calls = {"StartSampling",  "CreateKeySignal", "StartDispatcher",
                                            "StopDispatcher", "StopSampling",    "CloseKeySignal",
                                            "StartSampling",  "CreateKeySignal", "StartDispatcher"};
    for (const std::string nested : {"", "Stop", "Start"}) {
        FakeSteps steps;
        bool running = false;
        bool stopping = false;
        StartReceiving(steps, running, stopping);
        steps.insideStopJoin = [&] {
            if (nested == "Stop")
                StopReceiving(steps, running, stopping);
            else if (nested == "Start")
                StartReceiving(steps, running, stopping);
        };
        StopReceiving(steps, running, stopping);
        EXPECT_FALSE(running) << nested;
        StartReceiving(steps, running, stopping);
        EXPECT_TRUE(running && !stopping) << nested;
        EXPECT_EQ(steps.calls, calls) << nested;
    }
}

} // namespace
