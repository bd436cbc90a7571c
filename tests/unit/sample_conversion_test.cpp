#include "receiver/sample_conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr std::nullopt_t kAll = std::nullopt;

struct Case {
    const char* name;
    int8_t mode;
    int32_t scaler;
    int32_t bufferSize;
    std::vector<uint8_t> bytes;
    std::optional<int32_t> count; // as the driver reports it; none: the number of bytes
    std::vector<int32_t> expected;
};

std::vector<int32_t> Convert(const Case& c) {
    uint8_t samples[kSampleBufferSize] = {};
    std::copy(c.bytes.begin(), c.bytes.end(), samples);
    SettingsValues settings;
    settings.Mode = c.mode;
    settings.Scaler = c.scaler;
    settings.BufferSize = c.bufferSize;
    PulseTrain train;
    train.count = 12345; // stale value from an earlier poll
    ConvertSamples(samples, c.count.value_or(static_cast<int32_t>(c.bytes.size())), settings, train);
    return std::vector<int32_t>(train.durations, train.durations + train.count);
}

// 10, 11, 12, ... as durations at 85.33 us, optionally behind the 235-tick leading duration.
std::vector<int32_t> RampDurations(int n, bool leading) {
    std::vector<int32_t> durations;
    if (leading)
        durations.push_back(20052);
    for (int t = 10; t < 10 + n; ++t)
        durations.push_back(t * 8533 / 100);
    return durations;
}

std::vector<uint8_t> Ramp(int n) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < n; ++i)
        bytes.push_back(static_cast<uint8_t>(10 + i));
    return bytes;
}

TEST(ConvertSamples, ByteExamplesOfEveryModelAndTheByteLimits) {
    const Case cases[] = {
        {"0: 0 skipped, 2 raised", 0, 8533, 36, {10, 0, 2, 250, 40}, kAll, {853, 255, 21332, 3413}},
        {"0: even count", 0, 8533, 36, {10, 20, 30, 40}, kAll, {20052, 853, 1706, 2559, 3413}},
        {"0: 1 is raised to 3 as well", 0, 8533, 36, {1, 3, 5}, kAll, {255, 255, 426}},
        {"0: at 21.33 us", 0, 2133, 36, {3, 235}, kAll, {5012, 63, 5012}},
        {"1: two-byte duration, odd count", 1, 8533, 36, {249, 16, 100}, kAll, {22527, 8533}},
        {"1: even count drops the last", 1, 8533, 36, {249, 16, 100, 7}, kAll, {22527, 8533}},
        {"1: trailing first byte, second 0", 1, 8533, 36, {10, 20, 250}, kAll, {853, 1706, 42323}},
        {"1: 248 one byte, 0 skipped, 1 kept", 1, 8533, 36, {248, 0, 1, 2, 9}, kAll, {21161, 85, 170, 767}},
        {"1: largest two-byte value", 1, 2133, 36, {255, 255, 4}, kAll, {42468, 85}},
        {"2: bytes 0 to 2 give nothing", 2, 8533, 36, {50, 60, 70, 10, 20}, kAll, {853, 1706}},
        {"2: even count leads with 235", 2, 8533, 36, {1, 2, 3, 10, 20, 30}, kAll, {20052, 853, 1706, 2559}},
        {"2: only the skipped bytes", 2, 8533, 36, {9, 9, 9}, kAll, {}},
        {"7 reads like 0", 7, 8533, 36, {10, 20, 30, 40}, kAll, {20052, 853, 1706, 2559, 3413}},
        {"-1 reads like 0", -1, 8533, 36, {10, 0, 2, 250, 40}, kAll, {853, 255, 21332, 3413}},
        {"BufferSize 11 of 36 bytes", 0, 8533, 11, Ramp(36), kAll, RampDurations(11, false)},
        {"BufferSize 12: even count", 0, 8533, 12, Ramp(36), kAll, RampDurations(12, true)},
        {"count 0", 0, 8533, 36, Ramp(4), 0, {}},
        {"negative count", 0, 8533, 36, Ramp(4), -7, {}},
        {"lowest count", 0, 8533, 36, Ramp(4), kMin, {}},
        // Hand-edited values that would deafen the receiver count as the dialog shows them.
        {"BufferSize 0 counts as 11", 0, 8533, 0, Ramp(36), kAll, RampDurations(11, false)},
        {"negative BufferSize", 1, 8533, -5, Ramp(4), kAll, {853, 938, 1023}},
        {"BufferSize 5", 0, 8533, 5, Ramp(36), kAll, RampDurations(11, false)},
        {"Scaler 0 takes the unit of model 0",
         0,
         0,
         36,
         {10, 20, 30, 40},
         kAll,
         {20052, 853, 1706, 2559, 3413}},
        {"negative Scaler, model 1's unit", 1, -8533, 36, {249, 16, 100}, kAll, {5631, 2133}},
        {"Scaler 1000 is used as it is", 0, 1000, 36, {10, 20, 30}, kAll, {100, 200, 300}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Convert(c), c.expected) << c.name;
}

TEST(ConvertSamples, NeverReadsBeyondTheSampleBuffer) {
    // Counts and buffer sizes beyond 512 stop at the end of the buffer: a full buffer fills the
    // train to its capacity, and the sanitizers would see any read past it.
    const std::pair<int32_t, int32_t> limits[] = {
        {512, 512}, {513, 1000}, {100000, 512}, {600, kMax}, {kMax, kMax}};
    for (const auto& [reported, bufferSize] : limits) {
        for (int8_t mode : {0, 1, 2}) {
            const Case c{"",       mode, 8533, bufferSize, std::vector<uint8_t>(kSampleBufferSize, 255),
                         reported, {}};
            // Model 0: 235 + 512 durations; model 2: 235 + 509; model 1: 256 pairs, the last dropped.
            const size_t expected = mode == 0 ? 513 : mode == 2 ? 510 : 255;
            EXPECT_EQ(Convert(c).size(), expected) << "mode " << int{mode} << " count " << reported;
        }
    }
}

TEST(TicksToMicroseconds, DropsTheFractionAndSaturates) {
    const int32_t cases[][3] = {
        {235, 8533, 20052},    {235, 2133, 5012},
        {3, 8533, 255},        {3, 2133, 63},
        {0, kMax, 0},          {1991, kMax, kMax},
        {1991, kMin, kMin},    {3, -8533, -255},
        {1, kMax, kMax / 100}, {1991, 100000000, 1991000000}, // the 32-bit product would overflow
    };
    for (const auto& c : cases)
        EXPECT_EQ(TicksToMicroseconds(c[0], c[1]), c[2]) << c[0] << " x " << c[1];
}

} // namespace
