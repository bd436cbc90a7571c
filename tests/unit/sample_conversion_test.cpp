#include "receiver/sample_conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr std::nullopt_t kAll = std::nullopt;

struct Case {
    const char* name;
    int8_t mode;
    int32_t scaler;
    int32_t bufferSize;
    std::vector<uint8_t> bytes;
    std::optional<int32_t> reportedCount; // none: the number of bytes above
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
    const int32_t count = c.reportedCount.value_or(static_cast<int32_t>(c.bytes.size()));
    ConvertSamples(samples, count, settings, train);
    return std::vector<int32_t>(train.durations, train.durations + train.count);
}

TEST(ConvertSamples, ByteExamplesOfEveryModel) {
    const Case cases[] = {
        {"model 0: zero skipped, 2 raised to 3, 250 one byte",
         0,
         8533,
         36,
         {10, 0, 2, 250, 40},
         kAll,
         {853, 255, 21332, 3413}},
        {"model 0: even count starts with 235 ticks",
         0,
         8533,
         36,
         {10, 20, 30, 40},
         kAll,
         {20052, 853, 1706, 2559, 3413}},
        {"model 0: 1 is raised to 3 as well", 0, 8533, 36, {1, 3, 5}, kAll, {255, 255, 426}},
        {"model 0 at 21.33 us", 0, 2133, 36, {3, 235}, kAll, {5012, 63, 5012}},
        {"model 1: two-byte duration, odd count", 1, 8533, 36, {249, 16, 100}, kAll, {22527, 8533}},
        {"model 1: even count drops the last duration", 1, 8533, 36, {249, 16, 100, 7}, kAll, {22527, 8533}},
        {"model 1: trailing first byte takes 0 as second",
         1,
         8533,
         36,
         {10, 20, 250},
         kAll,
         {853, 1706, 42323}},
        {"model 1: 248 is one byte, zero skipped, 1 and 2 kept",
         1,
         8533,
         36,
         {248, 0, 1, 2, 9},
         kAll,
         {21161, 85, 170, 767}},
        {"model 1: largest two-byte value", 1, 2133, 36, {255, 255, 4}, kAll, {42468, 85}},
        {"model 2: bytes 0 to 2 never give durations", 2, 8533, 36, {50, 60, 70, 10, 20}, kAll, {853, 1706}},
        {"model 2: even count still leads with 235 ticks",
         2,
         8533,
         36,
         {1, 2, 3, 10, 20, 30},
         kAll,
         {20052, 853, 1706, 2559}},
        {"model 2: only the three skipped bytes", 2, 8533, 36, {9, 9, 9}, kAll, {}},
        {"unknown model 7 reads like model 0",
         7,
         8533,
         36,
         {10, 20, 30, 40},
         kAll,
         {20052, 853, 1706, 2559, 3413}},
        {"unknown model -1 reads like model 0",
         -1,
         8533,
         36,
         {10, 0, 2, 250, 40},
         kAll,
         {853, 255, 21332, 3413}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Convert(c), c.expected) << c.name;
}

std::vector<uint8_t> Ramp(int n) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < n; ++i)
        bytes.push_back(static_cast<uint8_t>(10 + i));
    return bytes;
}

TEST(ConvertSamples, ByteCountIsLimitedByBufferSizeAndBuffer) {
    // 36 bytes 10, 11, ... 45; with BufferSize 11 only 10 to 20 count (odd: no leading duration).
    std::vector<int32_t> first11;
    for (int t = 10; t <= 20; ++t)
        first11.push_back(t * 8533 / 100);
    std::vector<int32_t> first12 = {20052};
    for (int t = 10; t <= 21; ++t)
        first12.push_back(t * 8533 / 100);

    const Case cases[] = {
        {"BufferSize 11 with 36 bytes", 0, 8533, 11, Ramp(36), kAll, first11},
        {"BufferSize 12 cuts to an even count", 0, 8533, 12, Ramp(36), kAll, first12},
        {"count 0 is no data", 0, 8533, 36, Ramp(4), 0, {}},
        {"negative count is no data", 0, 8533, 36, Ramp(4), -7, {}},
        {"lowest count is no data", 0, 8533, 36, Ramp(4), std::numeric_limits<int32_t>::min(), {}},
        {"BufferSize 0 converts nothing", 0, 8533, 0, Ramp(4), kAll, {}},
        {"negative BufferSize converts nothing", 1, 8533, -5, Ramp(4), kAll, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Convert(c), c.expected) << c.name;
}

TEST(ConvertSamples, NeverReadsBeyondTheSampleBuffer) {
    // Counts and buffer sizes beyond 512 stop at the end of the buffer: a full buffer of one-byte
    // durations fills the train to its capacity, and the sanitizers would see any read past it.
    struct Limits {
        int32_t reported;
        int32_t bufferSize;
    } limits[] = {{512, 512},
                  {513, 1000},
                  {100000, 512},
                  {600, std::numeric_limits<int32_t>::max()},
                  {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()}};
    for (const Limits& l : limits) {
        for (int8_t mode : {0, 1, 2}) {
            Case c{"full buffer", mode, 8533, l.bufferSize, std::vector<uint8_t>(kSampleBufferSize, 255),
                   l.reported,    {}};
            // Model 0: 235 + 512 durations; model 2: 235 + 509; model 1: 256 pairs, last dropped.
            const size_t expected = mode == 0 ? 513 : mode == 2 ? 510 : 255;
            EXPECT_EQ(Convert(c).size(), expected) << "mode " << int{mode} << " count " << l.reported;
        }
    }
}

TEST(TicksToMicroseconds, DropsTheFractionAndSaturates) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    struct {
        int32_t ticks;
        int32_t scaler;
        int32_t expected;
    } cases[] = {
        {235, 8533, 20052},
        {235, 2133, 5012},
        {3, 8533, 255},
        {3, 2133, 63},
        {1991, 1000, 19910},
        {0, kMax, 0},
        {1991, kMax, kMax},
        {1991, kMin, kMin},
        {3, -8533, -255},
        {1, kMax, kMax / 100},
        {1991, 100000000, 1991000000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TicksToMicroseconds(c.ticks, c.scaler), c.expected) << c.ticks << " x " << c.scaler;
}

} // namespace
