#include "capture_import/receiver_model.h"

#include <algorithm>

#include "receiver/receiver.h"
#include "receiver/sample_conversion.h"

namespace {

constexpr int64_t kLongestOneByte = 255;
constexpr int64_t kTwoByteBase = 248;
constexpr int64_t kLongestTwoByte = 7 * kTwoByteBase + 255; // first byte 255, second 255
constexpr int kHeaderBytesOfModel2 = 3;

int64_t TicksOf(int32_t microseconds, int32_t scaler) {
    return (int64_t{microseconds} * 100 + scaler / 2) / scaler;
}

} // namespace

int32_t LongestReceivable(int32_t scaler) {
    return TicksToMicroseconds(static_cast<int32_t>(kLongestTwoByte), scaler);
}

std::vector<int32_t> AsModelDelivers(const std::vector<int32_t>& durations, int model, int32_t scaler,
                                     int32_t bufferSize) {
    uint8_t samples[kSampleBufferSize] = {};
    int32_t count = 0;
    const auto put = [&](int64_t byte) {
        if (count < kSampleBufferSize)
            samples[count++] = static_cast<uint8_t>(byte);
    };
    if (model == ModelThreeHeader) {
        for (int k = 0; k < kHeaderBytesOfModel2; ++k)
            put(0);
    }
    for (int32_t d : durations) {
        if (model == ModelTwoByte) {
            const int64_t ticks = std::clamp<int64_t>(TicksOf(d, scaler), 1, kLongestTwoByte);
            if (ticks <= kTwoByteBase) {
                put(ticks);
            } else {
                const int64_t high = std::min<int64_t>(ticks / kTwoByteBase, 7);
                put(kTwoByteBase + high);
                put(ticks - high * kTwoByteBase);
            }
        } else {
            put(std::clamp<int64_t>(TicksOf(d, scaler), 1, kLongestOneByte));
        }
    }
    if (model == ModelTwoByte && count % 2 == 0)
        put(0);

    SettingsValues settings;
    settings.Mode = static_cast<int8_t>(model);
    settings.Scaler = scaler;
    settings.BufferSize = bufferSize;
    PulseTrain train{};
    ConvertSamples(samples, count, settings, train);
    return std::vector<int32_t>(train.durations, train.durations + train.count);
}
