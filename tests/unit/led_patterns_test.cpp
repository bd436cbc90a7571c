#include "receiver/led_patterns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_data_port.h"

namespace {

using Log = std::vector<std::string>;

TEST(LedPatterns, TablesOfTheFourSchemes) {
    struct {
        int8_t mode;
        uint8_t mask, ready, receive;
    } cases[] = {{0, 0, 0, 0}, {1, 3, 1, 3},  {2, 1, 1, 0},  {3, 7, 1, 0},
                 {4, 0, 0, 0}, {-1, 0, 0, 0}, {127, 0, 0, 0}};
    for (const auto& c : cases) {
        const LedPatterns leds = LedPatternsFor(c.mode);
        EXPECT_EQ(leds.directionMask, c.mask) << int{c.mode};
        EXPECT_EQ(leds.ready, c.ready) << int{c.mode};
        EXPECT_EQ(leds.receive, c.receive) << int{c.mode};
    }
}

TEST(ShowLedsAttached, MakesTheLinesOutputsAndShowsReady) {
    struct {
        int8_t mode;
        bool directionReadFails;
        Log expected;
    } cases[] = {
        {0, false, {}},
        {1, false, {"GD", "SD=83", "SO=01"}},
        {2, false, {"GD", "SD=81", "SO=01"}},
        {3, false, {"GD", "SD=87", "SO=01"}},
        {1, true, {"GD", "SD=03", "SO=01"}},
        {3, true, {"GD", "SD=07", "SO=01"}},
        {9, false, {}},
        {-3, false, {}},
    };
    for (const auto& c : cases) {
        FakeDataPort port;
        port.output = 0xF0;
        port.direction = 0x80;
        port.directionReadFails = c.directionReadFails;
        ShowLedsAttached(port, c.mode);
        EXPECT_EQ(port.log, c.expected) << int{c.mode} << (c.directionReadFails ? " failing" : "");
    }
}

TEST(ShowLedsReceiving, ShowsTheReceptionPatternInSchemesOneAndTwo) {
    struct {
        int8_t mode;
        bool outputReadFails;
        bool shown;
        Log expected;
    } cases[] = {
        {0, false, false, {}}, {1, false, true, {"GO", "SO=F7"}}, {2, false, true, {"GO", "SO=F4"}},
        {3, false, false, {}}, {1, true, true, {"GO", "SO=03"}},  {2, true, true, {"GO", "SO=00"}},
        {6, false, false, {}},
    };
    for (const auto& c : cases) {
        FakeDataPort port;
        port.output = 0xF5;
        port.outputReadFails = c.outputReadFails;
        EXPECT_EQ(ShowLedsReceiving(port, c.mode), c.shown) << int{c.mode};
        EXPECT_EQ(port.log, c.expected) << int{c.mode} << (c.outputReadFails ? " failing" : "");
    }
}

TEST(ShowLedsReady, RestoresTheReadyPatternKeepingOtherLines) {
    struct {
        int8_t mode;
        bool outputReadFails;
        Log expected;
    } cases[] = {
        {0, false, {"GO", "SO=F6"}}, {1, false, {"GO", "SO=F5"}}, {2, false, {"GO", "SO=F7"}},
        {3, false, {"GO", "SO=F1"}}, {1, true, {"GO", "SO=01"}},  {0, true, {"GO", "SO=00"}},
        {8, false, {"GO", "SO=F6"}},
    };
    for (const auto& c : cases) {
        FakeDataPort port;
        port.output = 0xF6;
        port.outputReadFails = c.outputReadFails;
        ShowLedsReady(port, c.mode);
        EXPECT_EQ(port.log, c.expected) << int{c.mode} << (c.outputReadFails ? " failing" : "");
    }
}

TEST(SwitchLedsOff, ClearsD0AndD1Only) {
    struct {
        uint8_t output;
        bool outputReadFails;
        Log expected;
    } cases[] = {
        {0xFF, false, {"GO", "SO=FC"}},
        {0x05, false, {"GO", "SO=04"}},
        {0xFF, true, {"GO", "SO=00"}},
    };
    for (const auto& c : cases) {
        FakeDataPort port;
        port.output = c.output;
        port.outputReadFails = c.outputReadFails;
        SwitchLedsOff(port);
        EXPECT_EQ(port.log, c.expected) << int{c.output};
    }
}

} // namespace
