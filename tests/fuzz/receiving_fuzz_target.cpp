// Fuzz target for what arrives from outside on the receiving side: the driver's sample bytes with
// any reported count and any settings, and the host's manual-action parameters.
// Input: a selector byte, then either settings and sample bytes or action parameters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "plugin/manual_action.h"
#include "receiver/sample_conversion.h"
#include "support/fake_data_port.h"
#include "fuzz/fuzz_require.h"

namespace {

int32_t Word(const uint8_t* data, size_t size, size_t at) {
    uint32_t value = 0;
    for (size_t k = 0; k < 4 && at + k < size; ++k)
        value |= static_cast<uint32_t>(data[at + k]) << (8 * k);
    return static_cast<int32_t>(value);
}

// Header: mode, scaler (4), buffer size (4), reported count (4); the rest are the samples.
void CheckConversion(const uint8_t* data, size_t size) {
    constexpr size_t kHeader = 13;
    SettingsValues settings;
    settings.Mode = static_cast<int8_t>(size > 0 ? data[0] : 0);
    settings.Scaler = Word(data, size, 1);
    settings.BufferSize = Word(data, size, 5);
    const int32_t reported = Word(data, size, 9);
    uint8_t samples[kSampleBufferSize] = {};
    if (size > kHeader)
        std::memcpy(samples, data + kHeader, std::min(size - kHeader, sizeof samples));
    PulseTrain train{};
    ConvertSamples(samples, reported, settings, train);
    Require(train.count >= 0 && train.count <= kPulseTrainCapacity);
}

// Up to four slots: a type byte (bit 0: number) and either four bytes or a NUL-terminated text
// taken from the input (a type byte with bit 1 set gives a null text pointer).
void CheckAction(const uint8_t* data, size_t size) {
    if (size == 0)
        return;
    std::string texts[kActionParamSlots];
    ActionParamView view;
    view.count = static_cast<int8_t>(data[0]);
    size_t at = 1;
    for (int i = 0; i < kActionParamSlots && at < size; ++i) {
        const uint8_t type = data[at++];
        ActionParamSlot& slot = view.slots[i];
        slot.isNumber = type & 1;
        if (slot.isNumber) {
            slot.number = static_cast<uint32_t>(Word(data, size, at));
            at += 4;
        } else if (!(type & 2)) {
            while (at < size && data[at] != 0)
                texts[i] += static_cast<char>(data[at++]);
            ++at;
            slot.text = texts[i].c_str();
        }
    }
    FakeDataPort port;
    const ManualActionOutcome outcome =
        PerformManualAction(&view, (data[0] & 0x80) ? nullptr : &port, "Plug");
    Require(std::strlen(outcome.errorText) <= 255);
    Require(outcome.valid || outcome.result == 0);
    Require(outcome.valid == (outcome.errorText[0] == '\0'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    if (data[0] & 1)
        CheckConversion(data + 1, size - 1);
    else
        CheckAction(data + 1, size - 1);
    return 0;
}
