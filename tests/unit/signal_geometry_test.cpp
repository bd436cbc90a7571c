#include "setup_dialog/signal_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

#include "setup_dialog/x87_precision.h"

namespace {

void ExpectTrace(const SignalGeometry& g, const std::vector<ViewPoint>& expected) {
    ASSERT_TRUE(g.hasTrace);
    ASSERT_EQ(g.trace.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(g.trace[i].x, expected[i].x) << i;
        EXPECT_EQ(g.trace[i].y, expected[i].y) << i;
    }
}

TEST(SignalGeometry, GridAndAxisWithoutATrain) {
    const SignalGeometry g = ComputeSignalGeometry(nullptr, 0, 632, 72);
    EXPECT_EQ(std::vector<int32_t>(std::begin(g.gridY), std::end(g.gridY)),
              (std::vector<int32_t>{15, 28, 41, 54}));
    EXPECT_EQ(g.gridRight, 630);
    EXPECT_EQ(g.axisX, 6);
    EXPECT_EQ(g.axisBottom, 70);
    EXPECT_FALSE(g.hasTrace);
    EXPECT_TRUE(g.tickX.empty());
}

TEST(SignalGeometry, OneDurationRisesAtTheAxisAndRunsPastTheRightEdge) {
    const int32_t train[] = {9000};
    const SignalGeometry g = ComputeSignalGeometry(train, 1, 632, 72);
    ExpectTrace(g, {{6, 55}, {6, 15}, {636, 15}, {636, 55}});
    // 853.3 µs of 9000 µs over 630 pixels: a tick every 59 pixels from the axis on.
    ASSERT_FALSE(g.tickX.empty());
    EXPECT_EQ(g.tickX[0], 6);
    EXPECT_EQ(g.tickX[1] - g.tickX[0], 59);
    EXPECT_LE(g.tickX.back(), 630);
}

TEST(SignalGeometry, TruncationLossesAddUpAlongTheTrain) {
    // scale = 630 / 1200: each 300 µs step adds 157.5 pixels and loses the half to truncation.
    const std::vector<int32_t> train(4, 300);
    const SignalGeometry g = ComputeSignalGeometry(train.data(), 4, 632, 72);
    ASSERT_EQ(g.trace.size(), 9u);
    EXPECT_EQ(g.trace[2].x, 163);
    EXPECT_EQ(g.trace.back().x, 6 + 4 * 157);
}

TEST(SignalGeometry, TrainsWithoutAUsableTotalDrawNoTrace) {
    const std::vector<std::vector<int32_t>> trains = {
        {0, 0, 0},
        {-500, 200},
        {INT32_MAX, -INT32_MAX},
    };
    for (const auto& train : trains) {
        const SignalGeometry g =
            ComputeSignalGeometry(train.data(), static_cast<int32_t>(train.size()), 632, 72);
        EXPECT_FALSE(g.hasTrace);
        EXPECT_TRUE(g.tickX.empty());
    }
}

TEST(SignalGeometry, LongTrainsHaveNoTicksButATrace) {
    std::vector<int32_t> train(512, 2000); // 1.02 s: ticks would be under a pixel apart
    const SignalGeometry g = ComputeSignalGeometry(train.data(), 512, 632, 72);
    EXPECT_TRUE(g.hasTrace);
    EXPECT_TRUE(g.tickX.empty());
    EXPECT_EQ(g.trace.size(), 1u + 256u * 4u);
}

TEST(SignalGeometry, ExtremeDurationsAreSaturated) {
    // Two huge durations that nearly cancel: the total is 228 µs (sums exact in single precision),
    // so the trace is drawn at 630 / 228 pixels per µs and runs far out on both sides.
    const int32_t train[] = {2000000000, -1999999872, 100};
    const SignalGeometry g = ComputeSignalGeometry(train, 3, 632, 72);
    const std::vector<ViewPoint> expected = {{6, 55},        {6, 15},        {1000000, 15}, {1000000, 55},
                                             {-1000000, 55}, {-1000000, 15}, {-999723, 15}, {-999723, 55}};
    ExpectTrace(g, expected);
}

// The view draws the same on every build: the i686 DLL computes in x87 registers, the native build
// and the earlier DLL in SSE. The digest of 3,000 pseudo-random trains at three view widths is the
// one the SSE builds compute; x87 arithmetic that keeps excess precision anywhere changes it.
TEST(SignalGeometry, EveryBuildDrawsTheSameAsTheSseBuild) {
    std::mt19937 random(20240917); // its raw outputs are the same on every platform
    uint64_t digest = 14695981039346656037ull;
    auto fold = [&](int64_t value) {
        for (int byte = 0; byte < 8; ++byte) {
            digest ^= static_cast<uint64_t>(value >> (8 * byte)) & 0xFF;
            digest *= 1099511628211ull;
        }
    };
    std::vector<int32_t> train;
    for (int n = 0; n < 3000; ++n) {
        train.resize(1 + random() % 512);
        for (int32_t& duration : train) {
            const uint32_t kind = random() % 64;
            // Mostly what remotes send, now and then a long pause or a value only a broken
            // receiver delivers, so that the sums also pass 2^24 where single precision rounds.
            duration = kind == 0   ? static_cast<int32_t>(random() >> 1)
                       : kind == 1 ? static_cast<int32_t>(random() % 5000000)
                                   : static_cast<int32_t>(50 + random() % 20000);
        }
        for (int32_t width : {632, 892, 1270}) {
            const SignalGeometry g =
                ComputeSignalGeometry(train.data(), static_cast<int32_t>(train.size()), width, 72);
            fold(g.hasTrace);
            for (int32_t x : g.tickX)
                fold(x);
            for (const ViewPoint& p : g.trace)
                fold(int64_t{p.x} << 32 | static_cast<uint32_t>(p.y));
        }
    }
    EXPECT_EQ(digest, 17600175521971550462ull);
}

// The host owns the x87 control word; whatever precision it set, the ticks are where an SSE build
// puts them: 853.3 us of a 10,971 us train are 48.99999 pixels at 630, and 49 in 24-bit rounding.
TEST(SignalGeometry, TicksDoNotDependOnTheHostsFloatingPointPrecision) {
    const int32_t train[] = {10971};
    for (int bits : {24, 53, 64}) {
        X87Precision host(bits);
        const SignalGeometry g = ComputeSignalGeometry(train, 1, 632, 72);
        ASSERT_GE(g.tickX.size(), 2u) << bits;
        EXPECT_EQ(g.tickX[1] - g.tickX[0], 48) << bits;
    }
}

} // namespace
