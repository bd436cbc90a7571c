#include "receiver/sample_conversion.h"

#include <algorithm>
#include <limits>

namespace {

// Models 0 and 2 put this leading duration in front of a train read from an even byte count.
constexpr int32_t kLeadingTicks = 235;
// Models 0 and 2 report the shortest durations as 1 or 2 ticks; they are read as 3.
constexpr int32_t kShortestTicks = 3;
// Model 1: a first byte from 249 up starts a two-byte duration of (d - 248) * 248 + e ticks.
constexpr int kTwoByteFirst = 249;
constexpr int32_t kTwoByteBase = 248;

class TrainWriter {
  public:
    TrainWriter(PulseTrain& train, int32_t scaler) : train_(train), scaler_(scaler) { train_.count = 0; }
    void Append(int32_t ticks) {
        if (train_.count < kPulseTrainCapacity)
            train_.durations[train_.count++] = TicksToMicroseconds(ticks, scaler_);
    }
    void DropLast() {
        if (train_.count > 0)
            --train_.count;
    }

  private:
    PulseTrain& train_;
    int32_t scaler_;
};

void ConvertTwoByteModel(const uint8_t* bytes, int32_t count, TrainWriter& out) {
    int32_t p = 0;
    while (p < count) {
        const int d = bytes[p];
        if (d >= kTwoByteFirst) {
            const int e = p + 1 < count ? bytes[p + 1] : 0;
            out.Append((d - kTwoByteBase) * kTwoByteBase + e);
            p += 2;
        } else {
            if (d != 0)
                out.Append(d);
            p += 1;
        }
    }
    if (count % 2 == 0)
        out.DropLast();
}

void ConvertOneByteModel(const uint8_t* bytes, int32_t start, int32_t count, TrainWriter& out) {
    if (count % 2 == 0)
        out.Append(kLeadingTicks);
    for (int32_t p = start; p < count; ++p) {
        const int d = bytes[p];
        if (d == 0)
            continue;
        out.Append(d <= 2 ? kShortestTicks : d);
    }
}

} // namespace

int32_t TicksToMicroseconds(int32_t ticks, int32_t scaler) {
    const int64_t value = static_cast<int64_t>(ticks) * scaler / 100;
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t ScalerInUse(const SettingsValues& settings) {
    if (settings.Scaler > 0)
        return settings.Scaler;
    return settings.Mode == ModelTwoByte ? kScalerUnit2 : kScalerUnit1;
}

int32_t BufferSizeInUse(const SettingsValues& settings) {
    return std::max(settings.BufferSize, kSmallestBufferSize);
}

BufferFill BufferFillOf(int32_t byteCount, const SettingsValues& settings) {
    const int32_t limit = std::min(BufferSizeInUse(settings), kSampleBufferSize);
    if (byteCount < limit)
        return BufferFill::Room;
    return limit < kSampleBufferSize ? BufferFill::SettingFull : BufferFill::DriverFull;
}

void ConvertSamples(const uint8_t (&samples)[kSampleBufferSize], int32_t byteCount,
                    const SettingsValues& settings, PulseTrain& train) {
    TrainWriter out(train, ScalerInUse(settings));
    // The driver's count and the typed BufferSize are both untrusted: neither may take the walk
    // beyond the buffer, and a count of zero or below means there is nothing to convert.
    const int32_t count = std::min({byteCount, BufferSizeInUse(settings), kSampleBufferSize});
    if (count <= 0)
        return;
    switch (settings.Mode) {
    case ModelTwoByte:
        ConvertTwoByteModel(samples, count, out);
        break;
    case ModelThreeHeader:
        ConvertOneByteModel(samples, 3, count, out);
        break;
    default:
        ConvertOneByteModel(samples, 0, count, out);
        break;
    }
}
