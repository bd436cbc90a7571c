#include "plugin/receiving_lifecycle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FakeSteps : public ReceivingSteps {
  public:
    std::vector<std::string> calls;
    std::string failing; // the step that fails

    bool StartSampling() override { return Record("StartSampling"); }
    void StopSampling() override { Record("StopSampling"); }
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
// which no Wine run can provoke.
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
        StartReceiving(steps, running, false);
        EXPECT_EQ(running, c.failing[0] == '\0') << c.failing;
        EXPECT_EQ(steps.calls, c.calls) << c.failing;
    }
}

} // namespace
