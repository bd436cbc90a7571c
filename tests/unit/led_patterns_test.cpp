#include "receiver/led_patterns.h"

#include <gtest/gtest.h>

#include <utility>
#include <string>
#include <vector>

#include "support/fake_data_port.h"

namespace {

enum class Operation { Attached, Receiving, Ready, Off };

// Port before every case: output F5 (D0, D2 and the high lines on), direction 80.
TEST(LedOperations, EveryOperationUnderEveryScheme) {
    struct {
        Operation operation;
        int8_t blinkMode;
        bool readFails; // the getter the operation uses fails: its preset 0 is what counts
        std::vector<std::string> expected;
    } cases[] = {
        {Operation::Attached, 0, false, {}},
        {Operation::Attached, 1, false, {"GD", "SD=83", "GO", "SO=F5"}},
        {Operation::Attached, 2, false, {"GD", "SD=81", "GO", "SO=F5"}},
        {Operation::Attached, 3, false, {"GD", "SD=87", "GO", "SO=F1"}},
        {Operation::Attached, 1, true, {"GD", "SD=03", "GO", "SO=01"}},
        {Operation::Attached, 9, false, {}},
        {Operation::Attached, -3, false, {}},
        {Operation::Receiving, 0, false, {}},
        {Operation::Receiving, 1, false, {"GO", "SO=F7"}},
        {Operation::Receiving, 2, false, {"GO", "SO=F4"}},
        {Operation::Receiving, 3, false, {}},
        {Operation::Receiving, 1, true, {"GO", "SO=03"}},
        {Operation::Receiving, 2, true, {"GO", "SO=00"}},
        {Operation::Receiving, 6, false, {}},
        {Operation::Ready, 0, false, {}},
        {Operation::Ready, 1, false, {"GO", "SO=F5"}},
        {Operation::Ready, 2, false, {"GO", "SO=F5"}},
        {Operation::Ready, 3, false, {"GO", "SO=F1"}},
        {Operation::Ready, 1, true, {"GO", "SO=01"}},
        {Operation::Ready, 0, true, {}},
        {Operation::Ready, 8, false, {}},
        {Operation::Off, 0, false, {}},
        {Operation::Off, 2, true, {"GO", "SO=00"}},
    };
    for (const auto& c : cases) {
        FakeDataPort port;
        port.output = 0xF5;
        port.direction = 0x80;
        port.outputReadFails = port.directionReadFails = c.readFails;
        bool shown = false;
        switch (c.operation) {
        case Operation::Attached:
            ShowLedsAttached(port, c.blinkMode);
            break;
        case Operation::Receiving:
            shown = ShowLedsReceiving(port, c.blinkMode);
            break;
        case Operation::Ready:
            ShowLedsReady(port, c.blinkMode);
            break;
        case Operation::Off:
            SwitchLedsOff(port, LedPatternsFor(c.blinkMode).offAtStop);
            break;
        }
        const std::string what = "operation " + std::to_string(static_cast<int>(c.operation)) + " mode " +
                                 std::to_string(c.blinkMode) + (c.readFails ? " failing" : "");
        EXPECT_EQ(port.log, c.expected) << what;
        // Only a reception pattern that was written needs the ready pattern back later.
        EXPECT_EQ(shown, c.operation == Operation::Receiving && !c.expected.empty()) << what;
    }
}

// Lines the host set for itself (all on here) survive a Stop: only D0 and D1 as the scheme drives them.
TEST(LedOperations, StopSwitchesOffOnlyTheLinesOfTheScheme) {
    const std::pair<int8_t, std::vector<std::string>> cases[] = {
        {0, {}}, {1, {"GO", "SO=FC"}}, {2, {"GO", "SO=FE"}}, {3, {"GO", "SO=FC"}}, {9, {}},
    };
    for (const auto& [blinkMode, expected] : cases) {
        FakeDataPort port;
        port.output = 0xFF;
        SwitchLedsOff(port, LedPatternsFor(blinkMode).offAtStop);
        EXPECT_EQ(port.log, expected) << "mode " << int{blinkMode};
    }
}

} // namespace
