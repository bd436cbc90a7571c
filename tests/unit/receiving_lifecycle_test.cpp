#include "plugin/receiving_lifecycle.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class FakeSteps : public ReceivingSteps {
  public:
    std::vector<std::string> calls;
    std::string failing;              // the step that fails
    std::function<void()> duringJoin; // what a message let through by the dispatcher's join does

    bool StartSampling() override { return Record("StartSampling"); }
    void StopSampling() override { Record("StopSampling"); }
    bool CreateKeySignal() override { return Record("CreateKeySignal"); }
    void CloseKeySignal() override { Record("CloseKeySignal"); }
    bool StartDispatcher() override { return Record("StartDispatcher"); }
    void StopDispatcher() override {
        Record("StopDispatcher");
        if (duringJoin)
            duringJoin();
    }

  private:
    bool Record(const char* step) {
        calls.push_back(step);
        return failing != step;
    }
};

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
    };
    for (const auto& c : cases) {
        FakeSteps steps;
        steps.failing = c.failing;
        bool running = false;
        StartReceiving(steps, running, false);
        EXPECT_FALSE(running) << c.failing;
        EXPECT_EQ(steps.calls, c.calls) << c.failing;
    }
}

TEST(ReceivingLifecycle, ExportsCalledFromInsideStopsJoinDoNothing) {
    FakeSteps steps;
    bool running = false;
    bool stopping = false;
    StartReceiving(steps, running, stopping);
    steps.calls.clear();
    steps.duringJoin = [&] {
        EXPECT_TRUE(stopping);
        StopReceiving(steps, running, stopping);
        StartReceiving(steps, running, stopping);
    };
    StopReceiving(steps, running, stopping);
    EXPECT_EQ(steps.calls, (std::vector<std::string>{"StopDispatcher", "StopSampling", "CloseKeySignal"}));
    EXPECT_FALSE(running);
    EXPECT_FALSE(stopping);
    // Once the outer Stop has finished, Start works again.
    steps.duringJoin = nullptr;
    StartReceiving(steps, running, stopping);
    EXPECT_TRUE(running);
}

} // namespace
