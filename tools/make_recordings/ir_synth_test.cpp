// The synthetic recordings must be what the plug-in recognises: each frame, after the receiver's
// byte quantisation and the plug-in's own conversion, decodes to the code the definition files
// store, whatever the jitter.
#include "ir_synth.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "decoding/pulse_train_decoder.h"
#include "receiver/sample_conversion.h"

namespace {

KeyCode DecodeAsReceived(const std::vector<int32_t>& durations, KeyCode previous) {
    const std::vector<uint8_t> bytes = ToModel0Bytes(durations, 8533);
    uint8_t samples[kSampleBufferSize] = {};
    std::copy(bytes.begin(), bytes.end(), samples);
    SettingsValues settings;
    settings.BufferSize = 512;
    PulseTrain train{};
    ConvertSamples(samples, static_cast<int32_t>(bytes.size()), settings, train);
    return DecodePulseTrain(train.durations, train.count, previous);
}

TEST(IrSynth, FramesDecodeToTheirCodesThroughTheReceiver) {
    struct Case {
        uint8_t address, command;
    } cases[] = {{0x04, 0x08}, {0x04, 0x02}, {0x10, 0x0D}, {0x1F, 0x3F}, {0x00, 0x00}, {0xFF, 0x55}};
    Jitter jitter;
    for (int round = 0; round < 20; ++round) {
        for (const Case& c : cases) {
            EXPECT_EQ(DecodeAsReceived(NecFrame(c.address, c.command, jitter), 0),
                      NecCode(c.address, c.command));
            const uint8_t a = c.address & 0x1F, k = c.command & 0x3F;
            for (bool toggle : {false, true})
                EXPECT_EQ(DecodeAsReceived(Rc5Frame(a, k, toggle, jitter), 0), Rc5Code(a, k));
        }
    }
}

TEST(IrSynth, NecRepeatFrameRepeatsThePreviousCode) {
    Jitter jitter;
    const KeyCode code = NecCode(0x04, 0x08);
    EXPECT_EQ(DecodeAsReceived(NecRepeat(jitter), code), code);
    EXPECT_EQ(DecodeAsReceived(NecRepeat(jitter), 0), 0u);
}

TEST(IrSynth, CodesMatchTheDecodersWorkedExamples) {
    EXPECT_EQ(NecCode(0x04, 0x08), 0x0220000020DF10EFull);
    EXPECT_EQ(Rc5Code(0x05, 0x0C), 0x010E00000000314Cull);
}

} // namespace
