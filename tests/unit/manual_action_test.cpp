#include "plugin/manual_action.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "receiver/led_patterns.h"
#include "support/action_params.h"
#include "support/fake_data_port.h"
#include "support/test_thread.h"

namespace {

using Log = std::vector<std::string>;

constexpr char kPluginName[] = "OrvikPlug-USB";

struct PortSetup {
    uint8_t output = 0x31;
    uint8_t direction = 0x5C;
    bool outputReadFails = false;
    bool directionReadFails = false;
    bool driverBound = true;
};

struct Case {
    const char* name;
    ActionParamView params;
    PortSetup port;
    uint32_t result;
    uint8_t output;    // in the reply
    uint8_t direction; // in the reply
    Log writes;
};

void Check(const Case& c) {
    FakeDataPort port;
    port.output = c.port.output;
    port.direction = c.port.direction;
    port.outputReadFails = c.port.outputReadFails;
    port.directionReadFails = c.port.directionReadFails;
    const ManualActionOutcome outcome =
        PerformManualAction(&c.params, c.port.driverBound ? &port : nullptr, kPluginName);
    EXPECT_TRUE(outcome.valid) << c.name << ": " << outcome.errorText;
    EXPECT_EQ(outcome.result, c.result) << c.name;
    EXPECT_EQ(outcome.outputByte, c.output) << c.name;
    EXPECT_EQ(outcome.directionByte, c.direction) << c.name;
    EXPECT_EQ(port.Writes(), c.writes) << c.name;
    if (!c.port.driverBound) {
        EXPECT_TRUE(port.log.empty()) << c.name;
    }
}

TEST(PerformManualAction, SetWritesTheByteOrOneLine) {
    const Case cases[] = {
        {"whole output byte", Params({"SetDataPort", "Data", 0xA5}), {}, 0xA5, 0xA5, 0x5C, {"SO=A5"}},
        {"whole direction byte", Params({"SetDataPort", "Direction", 0x0F}), {}, 0x0F, 0x31, 0x0F, {"SD=0F"}},
        {"only the low 8 bits are written",
         Params({"SetDataPort", "Data", 0x1234}),
         {},
         0x34,
         0x34,
         0x5C,
         {"SO=34"}},
        {"line 3 on keeps the others", Params({"SetDataPort", "Data", 1, 3}), {}, 8, 0x39, 0x5C, {"SO=39"}},
        {"line 3 off when already off", Params({"SetDataPort", "Data", 0, 3}), {}, 0, 0x31, 0x5C, {"SO=31"}},
        {"line 0 off", Params({"SetDataPort", "Data", 0, 0}), {}, 0, 0x30, 0x5C, {"SO=30"}},
        {"any non-zero value switches on",
         Params({"SetDataPort", "Data", 0x100, 7}),
         {},
         0x80,
         0xB1,
         0x5C,
         {"SO=B1"}},
        {"line 9 gives no mask: whole byte",
         Params({"SetDataPort", "Data", 1, 9}),
         {},
         1,
         1,
         0x5C,
         {"SO=01"}},
        {"line 35 is line 3", Params({"SetDataPort", "Data", 1, 35}), {}, 8, 0x39, 0x5C, {"SO=39"}},
        {"line -1 is line 31: whole byte", Params({"SetDataPort", "Data", 2, -1}), {}, 2, 2, 0x5C, {"SO=02"}},
        {"direction line 1 on", Params({"SetDataPort", "Direction", 1, 1}), {}, 2, 0x31, 0x5E, {"SD=5E"}},
        {"text line number: whole byte", Params({"SetDataPort", "Data", 7, "3"}), {}, 7, 7, 0x5C, {"SO=07"}},
        {"line beyond the count is ignored",
         Params({"SetDataPort", "Data", 6, 3}, 3),
         {},
         6,
         6,
         0x5C,
         {"SO=06"}},
        {"no numeric value: nothing written",
         Params({"SetDataPort", "Data", "0xA5"}),
         {},
         0x31,
         0x31,
         0x5C,
         {}},
        {"no value at all", Params({"SetDataPort", "Direction"}), {}, 0x5C, 0x31, 0x5C, {}},
        {"lower case", Params({"setdataport", "data", 0x42}), {}, 0x42, 0x42, 0x5C, {"SO=42"}},
        {"mixed case", Params({"sEtDaTaPoRt", "DIRECTION", 0x42}), {}, 0x42, 0x31, 0x42, {"SD=42"}},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(PerformManualAction, GetReadsTheByteOrOneLine) {
    const Case cases[] = {
        {"output byte", Params({"GetDataPort", "Data"}), {}, 0x31, 0x31, 0x5C, {}},
        {"direction byte", Params({"GetDataPort", "Direction"}), {}, 0x5C, 0x31, 0x5C, {}},
        {"direction line 2", Params({"GetDataPort", "Direction", 2}), {}, 4, 0x31, 0x5C, {}},
        {"output line 1 low", Params({"GetDataPort", "Data", 1}), {}, 0, 0x31, 0x5C, {}},
        {"line 8 gives the whole byte", Params({"GetDataPort", "Data", 8}), {}, 0x31, 0x31, 0x5C, {}},
        {"line 36 is line 4", Params({"GetDataPort", "Data", 36}), {}, 0x10, 0x31, 0x5C, {}},
        {"a fourth number changes nothing", Params({"GetDataPort", "Data", 0, 5}), {}, 1, 0x31, 0x5C, {}},
        {"lower case", Params({"getdataport", "direction"}), {}, 0x5C, 0x31, 0x5C, {}},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(PerformManualAction, FailingReadsAndNoDriver) {
    PortSetup outputFails;
    outputFails.outputReadFails = true;
    PortSetup directionFails;
    directionFails.directionReadFails = true;
    PortSetup noDriver;
    noDriver.driverBound = false;
    const Case cases[] = {
        {"failed output read counts as 0", Params({"GetDataPort", "Data"}), outputFails, 0, 0, 0x5C, {}},
        {"failed direction read counts as 0",
         Params({"GetDataPort", "Direction", 2}),
         directionFails,
         0,
         0x31,
         0,
         {}},
        {"single line set after a failed read writes nothing",
         Params({"SetDataPort", "Data", 1, 3}),
         outputFails,
         0,
         0,
         0x5C,
         {}},
        {"whole byte set needs no read",
         Params({"SetDataPort", "Direction", 0x77}),
         directionFails,
         0,
         0x31,
         0,
         {"SD=77"}},
        {"no driver: Get", Params({"GetDataPort", "Data"}), noDriver, 0, 0, 0, {}},
        {"no driver: Set", Params({"SetDataPort", "Data", 0xFF}), noDriver, 0, 0, 0, {}},
        {"no driver: single line", Params({"SetDataPort", "Direction", 1, 0}), noDriver, 0, 0, 0, {}},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(PerformManualAction, SerialCommandsAnswerZerosWithoutDeviceAccess) {
    struct {
        const char* name;
        ActionParamView params;
    } cases[] = {
        {"Set232 Bitrate", Params({"Set232", "Bitrate", 9600})},
        {"Get232 Data", Params({"Get232", "Data"})},
        {"set232 data 5 1", Params({"set232", "data", 5, 1})},
    };
    for (const auto& c : cases) {
        FakeDataPort port;
        port.output = 0xFF;
        port.direction = 0xFF;
        const ManualActionOutcome outcome = PerformManualAction(&c.params, &port, kPluginName);
        EXPECT_TRUE(outcome.valid) << c.name;
        EXPECT_EQ(outcome.result, 0u) << c.name;
        EXPECT_EQ(outcome.outputByte, 0) << c.name;
        EXPECT_EQ(outcome.directionByte, 0) << c.name;
        EXPECT_TRUE(port.log.empty()) << c.name;
    }
}

TEST(PerformManualAction, InvalidParametersTouchNothingAndExplainThemselves) {
    struct {
        const char* name;
        ActionParamView params;
        const char* text; // between the parentheses
    } cases[] = {
        {"numeric selector", Params({"GetDataPort", 1}), "\"GetDataPort\",0x1"},
        {"EEPROM", Params({"SetEEPROM", "Data"}), "\"SetEEPROM\",\"Data\""},
        {"unknown selector", Params({"SetDataPort", "Bits", 5, 1}), "\"SetDataPort\",\"Bits\",0x5,0x1"},
        {"count 1", Params({"GetDataPort", "Data"}, 1), "\"GetDataPort\""},
        {"count 0", Params({}), ""},
        {"negative count", Params({"GetDataPort", "Data"}, -3), ""},
        {"numeric command", Params({7, "Data"}), "0x7,\"Data\""},
        {"null command text", Params({nullptr, "Data"}), "\"\",\"Data\""},
        {"null selector text", Params({"GetDataPort", nullptr}), "\"GetDataPort\",\"\""},
        {"operation alone", Params({"Get", "Data"}), "\"Get\",\"Data\""},
        {"target alone", Params({"DataPort", "Data"}), "\"DataPort\",\"Data\""},
        {"other operation", Params({"PutDataPort", "Data"}), "\"PutDataPort\",\"Data\""},
        {"target with a tail", Params({"GetDataPorts", "Data"}), "\"GetDataPorts\",\"Data\""},
        {"serial selector on the port", Params({"GetDataPort", "Bitrate"}), "\"GetDataPort\",\"Bitrate\""},
        {"port selector on serial", Params({"Get232", "Direction"}), "\"Get232\",\"Direction\""},
        {"empty command", Params({"", ""}), "\"\",\"\""},
    };
    for (const auto& c : cases) {
        FakeDataPort port;
        const ManualActionOutcome outcome = PerformManualAction(&c.params, &port, kPluginName);
        EXPECT_FALSE(outcome.valid) << c.name;
        EXPECT_EQ(outcome.result, 0u) << c.name;
        EXPECT_EQ(outcome.errorText,
                  "Invalid params: OrvikPlug-USB.ActionManual(" + std::string(c.text) + ")")
            << c.name;
        EXPECT_TRUE(port.log.empty()) << c.name;
    }
    const ManualActionOutcome outcome = PerformManualAction(nullptr, nullptr, kPluginName);
    EXPECT_FALSE(outcome.valid);
    EXPECT_STREQ(outcome.errorText, "Invalid params: OrvikPlug-USB.ActionManual()");
}

TEST(ManualActionReply, CarriesBothBytesAsTwoNumbers) {
    ManualActionOutcome outcome;
    outcome.valid = true;
    outcome.outputByte = 0xA5;
    outcome.directionByte = 0x0F;
    outcome.result = 0xA5;
    const ActionParams reply = ManualActionReply(outcome);
    EXPECT_EQ(reply.count, 2);
    EXPECT_EQ(reply.isNumber[0], 1);
    EXPECT_EQ(reply.isNumber[1], 1);
    EXPECT_EQ(reply.isNumber[2], 0);
    EXPECT_EQ(reply.isNumber[3], 0);
    EXPECT_EQ(reply.value[0], 0xA5u);
    EXPECT_EQ(reply.value[1], 0x0Fu);
    EXPECT_EQ(reply.value[2], 0u);
    EXPECT_EQ(reply.value[3], 0u);
}

} // namespace

namespace {

// A port whose driver calls take a while, as over USB, and that two threads may call at once.
class SlowPort : public DataPort {
  public:
    int32_t GetOutput(uint8_t* value) override {
        Pause();
        *value = output_.load();
        return 0;
    }
    int32_t GetDirection(uint8_t* value) override {
        Pause();
        *value = 0xFF;
        return 0;
    }
    void SetOutput(uint8_t value) override {
        Pause();
        output_.store(value);
    }
    void SetDirection(uint8_t) override { Pause(); }
    uint8_t Output() const { return output_.load(); }

  private:
    // A busy wait: the Windows toolchain's standard library has no sleep_for.
    static void Pause() {
        const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(100);
        while (std::chrono::steady_clock::now() < until) {
        }
    }
    std::atomic<uint8_t> output_{0};
};

} // namespace

// Relay commands on D4 to D7 from the host's thread, by line and by whole byte in turn, while the
// sampling thread blinks D0 and D1: every command holds, and every reply shows the line as set.
TEST(PerformManualAction, SetsAreNotUndoneByLedUpdates) {
    SlowPort port;
    std::atomic<bool> done{false};
    int wrongReplies = 0;
    int lost = 0;
    const auto leds = [&] {
        while (!done.load()) {
            ShowLedsReceiving(port, 1);
            ShowLedsReady(port, 1);
        }
    };
    const auto relays = [&] {
        for (uint32_t i = 0; i < 200; ++i) {
            const uint32_t line = 4 + i % 4;
            const uint32_t on = (i / 4) % 2 == 0 ? 1 : 0;
            const ActionParamView set = i % 8 < 4 ? Params({"SetDataPort", "Data", on, line})
                                                  : Params({"SetDataPort", "Data", on << line});
            const ManualActionOutcome outcome = PerformManualAction(&set, &port, kPluginName);
            if (((outcome.outputByte >> line) & 1u) != on)
                ++wrongReplies;
            if (((port.Output() >> line) & 1u) != on)
                ++lost;
        }
        done.store(true);
    };
    RunBeside(leds, relays);
    EXPECT_EQ(wrongReplies, 0);
    EXPECT_EQ(lost, 0);
}
