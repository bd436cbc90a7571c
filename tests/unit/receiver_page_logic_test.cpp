#include "setup_dialog/receiver_page_logic.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "receiver/receiver.h"

namespace {

// Ticking the box while a raw hand-off is pending (RawArmed clear: the dispatcher copies
// RawSignature) must not let the sampling thread write the signature under it.
TEST(ReceiverPageLogic, RawBoxClickLeavesAPendingRawHandOffAlone) {
    for (bool checked : {true, false}) {
        SettingsStore settings;
        settings.RawMode = !checked;
        KeyCode lastCode = 0x0220000020DF10EFull;
        RawArmed = 0;
        RawBoxClick(checked, settings, &lastCode);
        EXPECT_EQ(RawArmed.load(), 0) << checked;
        EXPECT_EQ(settings.RawMode.load(), checked);
        EXPECT_EQ(lastCode, 0u);
    }
}

TEST(ReceiverPageLogic, WholeNumbersAreSignAndDigitsWithin32Bits) {
    const struct {
        const char* text;
        std::optional<int32_t> value;
    } cases[] = {
        {"300", 300},
        {"+12", 12},
        {"-5", -5},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"abc", std::nullopt},
        {" 12", std::nullopt},
        {"12 ", std::nullopt},
        {"1e3", std::nullopt},
        {"0x10", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseWholeNumber(c.text), c.value) << c.text;
}

TEST(ReceiverPageLogic, TypedBufferSizeIsClampedAndRejectsText) {
    EXPECT_EQ(TypedBufferSize("300"), 300);
    EXPECT_EQ(TypedBufferSize("0"), 11); // would switch reception off
    EXPECT_EQ(TypedBufferSize("-5"), 11);
    EXPECT_EQ(TypedBufferSize("100000"), 512);
    EXPECT_EQ(TypedBufferSize("abc"), std::nullopt);
}

TEST(ReceiverPageLogic, TheBufferBoxStepsFromTheNumberTypedInIt) {
    const struct {
        const char* typed;
        int32_t position, base;
    } cases[] = {{"300", 36, 300}, {"36", 36, 36}, {"abc", 36, 36},
                 {"", 108, 108},   {"0", 36, 11},  {"9999", 36, 512}};
    for (const auto& c : cases)
        EXPECT_EQ(BufferStepBase(c.typed, c.position), c.base) << c.typed;
}

TEST(ReceiverPageLogic, StepsStayInsideTheRange) {
    EXPECT_EQ(StepPosition(300, +1, kWaitRange), 350);
    // Every end can be reached by a step.
    EXPECT_EQ(StepPosition(950, +1, kWaitRange), 1000);
    EXPECT_EQ(StepPosition(511, +1, kBufferSizeRange), 512);
    EXPECT_EQ(StepPosition(95, +1, kPollFreqRange), 100);
    EXPECT_EQ(StepPosition(100, -1, kWaitRange), 50);
    EXPECT_EQ(StepPosition(12, -1, kBufferSizeRange), 11);
    EXPECT_EQ(StepPosition(1000, +1, kWaitRange), std::nullopt);
    EXPECT_EQ(StepPosition(50, -1, kWaitRange), std::nullopt);
    EXPECT_EQ(StepPosition(100, +1, kPollFreqRange), std::nullopt);
    EXPECT_EQ(StepPosition(10, -1, kPollFreqRange), 5);
    EXPECT_EQ(StepPosition(512, +1, kBufferSizeRange), std::nullopt);
    EXPECT_EQ(StepPosition(300, 0, kWaitRange), std::nullopt);
    EXPECT_EQ(StepPosition(INT32_MAX, +1, kBufferSizeRange), std::nullopt);
}

TEST(ReceiverPageLogic, FrequencyStepsRoundTripThroughTheInterval) {
    const struct {
        int32_t hertz, interval, shownNextTime;
    } cases[] = {{15, 66, 15}, {65, 15, 66}, {95, 10, 100}, {20, 50, 20}, {5, 200, 5}};
    for (const auto& c : cases) {
        EXPECT_EQ(PollIntervalForFrequency(c.hertz), c.interval) << c.hertz;
        EXPECT_EQ(ShownPosition(FrequencyForPollInterval(c.interval), kPollFreqRange), c.shownNextTime);
    }
    EXPECT_EQ(FrequencyForPollInterval(0), 5);
    EXPECT_EQ(ShownPosition(FrequencyForPollInterval(-3), kPollFreqRange), 5);
    EXPECT_EQ(ShownPosition(FrequencyForPollInterval(1), kPollFreqRange), 100);
}

TEST(ReceiverPageLogic, ModelsSetTheirTimeUnitAndBuffer) {
    const struct {
        int32_t mode;
        int button;
        int32_t scaler, buffer;
    } cases[] = {{0, 1, 8533, 36}, {1, 2, 2133, 108}, {2, 1, 8533, 35}, {7, 1, 8533, 36}, {-1, 1, 8533, 36}};
    for (const auto& c : cases) {
        const ModelDefaults d = DefaultsForModel(c.mode);
        EXPECT_EQ(d.scalerButton, c.button);
        EXPECT_EQ(d.scaler, c.scaler);
        EXPECT_EQ(d.bufferSize, c.buffer);
        EXPECT_EQ(ScalerForButton(d.scalerButton), d.scaler);
    }
    // Only a change of model applies its defaults; a click on the model in use keeps what was set.
    EXPECT_FALSE(ModelChange(1, 1));
    EXPECT_FALSE(ModelChange(0, 0));
    ASSERT_TRUE(ModelChange(0, 1));
    EXPECT_EQ(ModelChange(0, 1)->bufferSize, 108);
    ASSERT_TRUE(ModelChange(7, 0)); // a stored model no item shows
    EXPECT_EQ(ModelChange(7, 0)->bufferSize, 36);
    EXPECT_EQ(ScalerButtonFor(1000), 0);
    EXPECT_EQ(ShownPosition(-5, kBufferSizeRange), 11);
    EXPECT_EQ(ShownPosition(20, kWaitRange), 50);
}

} // namespace
