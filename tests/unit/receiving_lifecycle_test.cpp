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
    std::string failing; // the step that fails
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
    void StopDispatcher() override { Record("StopDispatcher"); }

  private:
    bool Record(const char* step) {
        calls.push_back(step);
        return failing != step;
    }
};

// Nested calls from inside Stop's join are run under Wine (Reentry tests); here the undo order,
// which no Wine run can provoke, and a Start from a message the undo's join lets through.
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

} // namespace
