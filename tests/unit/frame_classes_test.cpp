#include "decoding/frame_classes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

std::vector<int64_t> Means(const ClassMeans& classes) {
    std::vector<int64_t> means(classes.value, classes.value + classes.size);
    if (classes.size == 2 && means[0] > means[1])
        std::swap(means[0], means[1]); // two classes may come in either order
    return means;
}

std::vector<int64_t> MeansOfKind(const std::vector<int32_t>& train, size_t first) {
    DurationClasses classes;
    for (size_t i = first; i < train.size(); i += 2)
        classes.Add(train[i]);
    ClassMeans means;
    means.size = classes.size;
    for (int k = 0; k < classes.size; ++k)
        means.value[k] = classes.Value(k);
    return Means(means);
}

// The frame's classes are those that DurationClasses builds value by value, whichever way they are
// found: one, two or three groups (in each order of first appearance), groups that only the running
// means join, more than three lengths, and sums beyond 32 bits.
TEST(ClassifyFrame, GivesTheClassesOfDurationClasses) {
    struct Case {
        const char* name;
        std::vector<int32_t> train;
    } cases[] = {
        {"one length each", {9000, 4500, 560, 560, 570, 550, 560, 565, 555}},
        {"two pause lengths", {9000, 4500, 560, 1690, 560, 560, 570, 1680, 560, 1700, 555}},
        {"two pulse lengths", {2400, 600, 1200, 600, 600, 600, 1200, 600, 1210, 590, 600}},
        {"separators last", {560, 560, 560, 1690, 560, 560, 560, 8000, 560, 1690, 560, 560, 560}},
        {"separators first", {560, 560, 560, 8000, 560, 1690, 560, 560, 560, 1690, 560, 560, 560}},
        {"long, short, middle", {560, 560, 560, 8000, 560, 560, 560, 1690, 560, 8100, 560, 560, 560}},
        {"spread that the means join", {500, 500, 400, 500, 467, 500, 533, 500, 467, 500, 467, 500, 533}},
        {"four lengths", {500, 500, 500, 300, 500, 600, 500, 1200, 500, 2400, 500, 300, 500}},
        // 398 is the longest value close to 300, and 529 the longest close to 398.
        {"a long value just close to a short one", {500, 300, 500, 398, 500, 529, 500, 600, 500, 300, 500}},
        {"sums beyond 32 bits", {2000000000, 9, 2000000000, 9, 2100000000, 9, 1900000000, 9, 2000000000}},
    };
    for (const Case& c : cases) {
        ClassMeans pulses;
        ClassMeans pauses;
        ASSERT_TRUE(ClassifyFrame(c.train.data(), static_cast<int32_t>(c.train.size()), pulses, pauses))
            << c.name;
        EXPECT_EQ(Means(pulses), MeansOfKind(c.train, 2)) << c.name;
        EXPECT_EQ(Means(pauses), MeansOfKind(c.train, 3)) << c.name;
    }
}

// Random kinds of one to four lengths, spread and stepped as a receiver's jitter and tick make
// them, often about as far apart as the closeness test reaches: every way through must agree with
// the classes built value by value.
TEST(ClassifyFrame, GivesTheClassesOfDurationClassesOnRandomFrames) {
    std::mt19937 random(20261207);
    const auto pick = [&random](int32_t from, int32_t to) {
        return std::uniform_int_distribution<int32_t>(from, to)(random);
    };
    for (int n = 0; n < 20000; ++n) {
        std::vector<int32_t> train(static_cast<size_t>(2 * pick(3, 60) + 1));
        for (size_t kind = 0; kind < 2; ++kind) {
            std::vector<int32_t> lengths(static_cast<size_t>(pick(1, 4)));
            int32_t length = pick(50, 3000);
            for (int32_t& l : lengths) {
                l = length;
                length = length * pick(110, 400) / 100;
            }
            const int32_t spreadPercent = pick(0, 40);
            const int32_t step = pick(0, 2) == 0 ? pick(1, 70) : 1;
            for (size_t i = kind; i < train.size(); i += 2) {
                const int32_t l =
                    lengths[static_cast<size_t>(pick(0, static_cast<int32_t>(lengths.size()) - 1))];
                const int32_t jitter = l * spreadPercent / 200;
                train[i] = std::max(1, (l + pick(-jitter, jitter)) / step * step);
            }
        }
        ClassMeans pulses;
        ClassMeans pauses;
        ASSERT_TRUE(ClassifyFrame(train.data(), static_cast<int32_t>(train.size()), pulses, pauses)) << n;
        ASSERT_EQ(Means(pulses), MeansOfKind(train, 2)) << n;
        ASSERT_EQ(Means(pauses), MeansOfKind(train, 3)) << n;
    }
}

TEST(ClassifyFrame, RefusesADurationOfZeroOrBelowAnywhereInTheFrame) {
    for (size_t position = 0; position < 9; ++position) {
        for (int32_t bad : {0, -1, -2000000000}) {
            std::vector<int32_t> train = {9000, 4500, 560, 1690, 560, 560, 570, 1680, 555};
            train[position] = bad;
            ClassMeans pulses;
            ClassMeans pauses;
            EXPECT_FALSE(ClassifyFrame(train.data(), static_cast<int32_t>(train.size()), pulses, pauses))
                << position << " " << bad;
        }
    }
}

} // namespace
