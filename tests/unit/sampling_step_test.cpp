#include "receiver/sampling_step.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "receiver/led_patterns.h"
#include "support/fake_data_port.h"

namespace {

using Log = std::vector<std::string>;

class FakeOutput : public SamplingOutput {
  public:
    std::vector<std::vector<int32_t>> shown;
    std::vector<BufferFill> fills;       // of every shown train
    std::vector<KeyCode> decodePrevious; // previousCode of every Decode call
    std::vector<bool> decodeBufferFull;
    KeyCode decodeResult = 0;
    int32_t rawLength = 0;
    int buildCalls = 0;
    int signals = 0;

    void ShowTrain(const PulseTrain& train, BufferFill fill) override {
        shown.emplace_back(train.durations, train.durations + train.count);
        fills.push_back(fill);
    }
    KeyCode Decode(int32_t* durations, int32_t count, KeyCode previousCode, bool bufferFull) override {
        decodePrevious.push_back(previousCode);
        decodeBufferFull.push_back(bufferFull);
        // Decoders may rearrange the train: the dialog's copy must already have been taken.
        std::fill(durations, durations + count, -1);
        return decodeResult;
    }
    int32_t BuildRaw(const int32_t*, int32_t, uint8_t* out) override {
        ++buildCalls;
        std::fill(out, out + rawLength, 0xAB);
        return rawLength;
    }
    void SignalKey() override {
        // Everything of the hand-off is published before the event.
        EXPECT_EQ(SignalFresh.load(), 1);
        EXPECT_EQ(SignalDown.load(), 1);
        ++signals;
    }
};

class SamplingStepTest : public testing::Test {
  protected:
    void SetUp() override {
        SignalCode = 0;
        SignalDown = 0;
        SignalFresh = 0;
        RawArmed = 1;
        RawSignatureLength = 0;
        port.output = 0xF0;
    }

    // One poll whose driver call returned status and the given sample bytes.
    void Poll(const std::vector<uint8_t>& bytes, int32_t status = 0) {
        std::copy(bytes.begin(), bytes.end(), state.samples);
        SamplingStep(state, status, static_cast<int32_t>(bytes.size()), lastDeviceStatus, settings, port,
                     output, now);
    }

    // A fresh thread start over a fresh port whose output byte is F0.
    void Restart(int32_t lastStatus, int8_t blinkMode) {
        FakeDataPort fresh;
        fresh.output = 0xF0;
        port = fresh;
        state = SamplingState{};
        lastDeviceStatus = lastStatus;
        settings.BlinkMode = blinkMode;
    }

    uint32_t now = 1000;
    SamplingState state;
    std::atomic<int32_t> lastDeviceStatus{1}; // the module starts with no device
    SettingsValues settings;
    FakeDataPort port;
    FakeOutput output;
};

TEST_F(SamplingStepTest, AttachLightsTheReadyLedOnlyWhenNoDeviceBecomesOk) {
    struct {
        const char* name;
        int8_t blinkMode;
        int32_t initialLast;
        std::vector<int32_t> statuses;
        Log expectedWrites;
    } cases[] = {
        {"attach once", 1, 1, {1, 0, 2, 0}, {"SD=03", "SO=01"}},
        {"attach, detach, attach", 2, 1, {0, 1, 0}, {"SD=01", "SO=01", "SD=01", "SO=01"}},
        {"odd status to OK is no attach", 3, 1, {7, 0}, {}},
        {"scheme 0 never touches the port", 0, 1, {1, 0, 1, 0}, {}},
        {"restart with the receiver attached", 1, 0, {0, 0}, {}},
    };
    for (const auto& c : cases) {
        FakeDataPort fresh;
        port = fresh;
        settings.BlinkMode = c.blinkMode;
        lastDeviceStatus = c.initialLast;
        for (int32_t status : c.statuses)
            Poll({}, status);
        EXPECT_EQ(port.Writes(), c.expectedWrites) << c.name;
        EXPECT_EQ(lastDeviceStatus.load(), c.statuses.back()) << c.name;
    }
}

TEST_F(SamplingStepTest, DecodedCodeIsHandedOverAndBecomesThePreviousCode) {
    lastDeviceStatus = 0;
    settings.BlinkMode = 0;
    struct {
        KeyCode decoded;
        KeyCode expectedPrevious;
        int expectedSignals;
    } polls[] = {
        {0x0220000020DF10EFull, 0, 1},
        {0x0220000020DF10EFull, 0x0220000020DF10EFull, 2},
        {0, 0x0220000020DF10EFull, 2},
        {0x010E00000000314Cull, 0, 3},
    };
    for (const auto& p : polls) {
        SignalFresh = 0;
        output.decodeResult = p.decoded;
        Poll({10, 0, 2, 250, 40});
        EXPECT_EQ(output.decodePrevious.back(), p.expectedPrevious);
        EXPECT_EQ(output.signals, p.expectedSignals);
        EXPECT_EQ(SignalFresh.load(), p.decoded != 0 ? 1 : 0);
        if (p.decoded != 0) {
            EXPECT_EQ(SignalCode.load(), p.decoded);
        }
    }
    // The dialog saw every train as converted, before the decoder rearranged it.
    ASSERT_EQ(output.shown.size(), std::size(polls));
    EXPECT_EQ(output.shown[0], (std::vector<int32_t>{853, 255, 21332, 3413}));
}

// A burst that fills what BufferSize lets in may be cut: the dialog is told (it asks for a larger
// BufferSize unless that is at the 512 bytes of a read), and the decoder reads it as such.
TEST_F(SamplingStepTest, BurstsThatFillTheBufferAreShownAndDecodedAsCut) {
    lastDeviceStatus = 0;
    settings.BlinkMode = 0;
    struct {
        int32_t bufferSize;
        int32_t bytes;
        BufferFill fill;
    } cases[] = {
        {36, 35, BufferFill::Room},         {36, 36, BufferFill::SettingFull},
        {36, 80, BufferFill::SettingFull},  {5, 11, BufferFill::SettingFull},
        {5, 10, BufferFill::Room},          {511, 511, BufferFill::SettingFull},
        {512, 511, BufferFill::Room},       {512, 512, BufferFill::DriverFull},
        {600, 512, BufferFill::DriverFull},
    };
    for (const auto& c : cases) {
        settings.BufferSize = c.bufferSize;
        for (bool raw : {false, true}) {
            settings.RawMode = raw;
            output = FakeOutput{};
            Poll(std::vector<uint8_t>(static_cast<size_t>(c.bytes), 10));
            const std::string what = std::to_string(c.bytes) + " of " + std::to_string(c.bufferSize) +
                                     (raw ? " bytes, raw" : " bytes");
            EXPECT_EQ(output.fills, std::vector<BufferFill>{c.fill}) << what;
            EXPECT_EQ(output.decodeBufferFull,
                      raw ? std::vector<bool>{} : std::vector<bool>{c.fill != BufferFill::Room})
                << what;
        }
    }
}

TEST_F(SamplingStepTest, RawModeHandsOverRepeatFramesAndSignaturesOnlyWhileArmed) {
    lastDeviceStatus = 0;
    settings.RawMode = true;
    const std::vector<uint8_t> threeDurations = {10, 20, 30};
    const std::vector<uint8_t> fiveDurations = {10, 20, 30, 40};
    const std::vector<uint8_t> sevenDurations = {10, 20, 30, 40, 50, 60, 70};
    struct {
        const char* name;
        bool armed;
        std::vector<uint8_t> bytes;
        int32_t built;
        bool handedOver;
        KeyCode code;
        int buildCalls;
    } cases[] = {
        {"three durations: repeat frame", true, threeDurations, 9, true, 1, 0},
        {"five durations: repeat frame", true, fiveDurations, 9, true, 1, 0},
        {"seven durations: new signature", true, sevenDurations, 6, true, 0, 1},
        {"no signature: nothing handed over", true, sevenDurations, 0, false, 0, 1},
        {"not armed: only shown", false, sevenDurations, 6, false, 0, 0},
        {"not armed repeat frame: only shown", false, threeDurations, 6, false, 0, 0},
    };
    for (const auto& c : cases) {
        SignalCode = 77;
        SignalFresh = 0;
        RawArmed = c.armed ? 1 : 0;
        state.handedOver = true; // a button was handed over just before
        state.lastHandOff = now;
        output.rawLength = c.built;
        output.buildCalls = 0;
        output.signals = 0;
        output.shown.clear();
        Poll(c.bytes);
        EXPECT_EQ(output.shown.size(), 1u) << c.name;
        EXPECT_EQ(output.buildCalls, c.buildCalls) << c.name;
        EXPECT_EQ(output.signals, c.handedOver ? 1 : 0) << c.name;
        EXPECT_EQ(SignalFresh.load(), c.handedOver ? 1 : 0) << c.name;
        EXPECT_EQ(RawArmed.load(), c.armed && !c.handedOver ? 1 : 0) << c.name;
        EXPECT_EQ(SignalCode.load(), c.handedOver ? c.code : 77) << c.name;
        if (c.buildCalls > 0) {
            EXPECT_EQ(RawSignatureLength.load(), c.built) << c.name;
        }
    }
    EXPECT_TRUE(output.decodePrevious.empty());
}

TEST_F(SamplingStepTest, RepeatFramesRepeatOnlyARecentHandOff) {
    lastDeviceStatus = 0;
    settings.BlinkMode = 0;
    constexpr KeyCode kPower = 0x0220000020DF10EFull;
    const std::vector<uint8_t> signatureFrame = {10, 20, 30, 40, 50, 60, 70};
    const std::vector<uint8_t> repeatFrame = {10, 20, 30};
    struct {
        uint32_t gap; // ms from the last hand-off to the repeat frame
        int32_t waitR;
        bool repeats;
    } cases[] = {
        {400, 200, true}, {500, 200, true},  {501, 200, false}, {60000, 200, false},
        {800, 800, true}, {801, 800, false}, {501, -5, false},  {0xFFFFFF00u, 200, false},
    };
    for (const auto& c : cases) {
        const std::string what = "gap " + std::to_string(c.gap) + " WaitR " + std::to_string(c.waitR);
        settings.WaitR = c.waitR;
        for (bool raw : {false, true}) {
            state = SamplingState{};
            settings.RawMode = raw;
            output.signals = 0;
            output.rawLength = 6;
            output.decodeResult = kPower;
            RawArmed = 1;
            now = 0xFFFFFFF0u; // across the wrap of the tick count
            Poll(raw ? signatureFrame : std::vector<uint8_t>{10, 0, 2, 250, 40});
            RawArmed = 1; // the dispatcher took it
            now += c.gap;
            output.decodeResult = 0;
            Poll(repeatFrame);
            if (raw)
                EXPECT_EQ(output.signals, c.repeats ? 2 : 1) << what << " raw";
            else
                EXPECT_EQ(output.decodePrevious.back(), c.repeats ? kPower : 0) << what;
        }
    }
}

TEST_F(SamplingStepTest, ReceptionIndicatorFollowsBatchesAndFallsBackOnce) {
    const std::vector<uint8_t> batch = {10, 20, 30};
    struct {
        const char* name;
        int8_t blinkMode;
        Log expectedWrites;
    } cases[] = {
        {"scheme 1", 1, {"SO=F3", "SO=F3", "SO=F1"}},
        {"scheme 2", 2, {"SO=F0", "SO=F0", "SO=F1"}},
        {"scheme 3: no change while receiving", 3, {}},
        {"scheme 0", 0, {}},
    };
    for (const auto& c : cases) {
        Restart(0, c.blinkMode);
        Poll(batch);
        Poll(batch);
        Poll({}, 2);    // first poll without data: back to ready
        Poll({}, 1);    // receiver gone: nothing more
        Poll(batch, 2); // a count with a failing status is no batch
        EXPECT_EQ(port.Writes(), c.expectedWrites) << c.name;
    }
}

TEST_F(SamplingStepTest, IndicatorFallsBackUnderTheSchemeInForceAtThatPoll) {
    lastDeviceStatus = 0;
    settings.BlinkMode = 1;
    Poll({10, 20, 30});
    settings.BlinkMode = 3; // changed in the dialog meanwhile
    Poll({}, 2);
    EXPECT_EQ(port.Writes(), (Log{"SO=F3", "SO=F1"}));
}

// The scheme changes in the dialog while the threads run; Stop then switches off what any scheme
// lit since the start, and the host's own lines (D4 to D7 here) keep their state.
TEST_F(SamplingStepTest, StopSwitchesOffTheLinesOfEverySchemeSinceTheStart) {
    struct Poll {
        int8_t scheme;
        bool data;
    };
    struct {
        const char* name;
        std::vector<Poll> polls; // after the attach, under the first scheme
        uint8_t before;          // the port just before Stop
    } cases[] = {
        {"scheme 1 only", {{1, true}, {1, false}}, 0xF1},
        {"1, then 0", {{1, true}, {1, false}, {0, true}}, 0xF1},
        {"1, then 2 while receiving", {{1, true}, {2, true}}, 0xF2},
        {"2, then 3", {{2, true}, {2, false}, {3, true}, {3, false}}, 0xF1},
        {"0 throughout", {{0, true}, {0, false}}, 0xF0},
    };
    for (const auto& c : cases) {
        Restart(1, c.polls.front().scheme);
        this->Poll({}, 0); // attached
        for (const auto& poll : c.polls) {
            settings.BlinkMode = poll.scheme;
            this->Poll(poll.data ? std::vector<uint8_t>{10, 20, 30} : std::vector<uint8_t>{},
                       poll.data ? 0 : 2);
        }
        EXPECT_EQ(port.output, c.before) << c.name;
        SwitchLedsOff(port, LedLinesOffAtStop(state, settings.BlinkMode));
        EXPECT_EQ(port.output, 0xF0) << c.name;
    }
}

TEST_F(SamplingStepTest, PollsWithoutBatchDecodeNothing) {
    lastDeviceStatus = 0;
    output.decodeResult = 5;
    for (int32_t status : {1, 2, 3, -1})
        Poll({10, 20, 30}, status);
    Poll({}, 0);
    EXPECT_TRUE(output.shown.empty());
    EXPECT_TRUE(output.decodePrevious.empty());
    EXPECT_EQ(output.signals, 0);
    EXPECT_EQ(state.train.count, 0);
}

} // namespace
