#include "decoding/duration_classes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(CloseWithin, StrictlyLessThanTheShareOfTheLarger) {
    struct Case {
        int64_t a;
        int64_t b;
        int64_t fraction;
        bool close;
    } cases[] = {
        {76, 100, 4, true},       {75, 100, 4, false}, {100, 75, 4, false},
        {100, 133, 4, false},     {100, 132, 4, true}, {101, 150, 3, true},
        {100, 150, 3, false},     {0, 0, 4, false},    {2000000000, 2000000000, 4, true},
        {1778, 2 * 889, 4, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CloseWithin(c.a, c.b, c.fraction), c.close) << c.a << " " << c.b << " /" << c.fraction;
}

TEST(DurationClasses, JoinTheFirstCloseClassByItsCurrentMean) {
    struct Case {
        const char* name;
        std::vector<int64_t> values;
        std::vector<int64_t> means; // in order of creation
    } cases[] = {
        {"two lengths", {560, 1690, 560, 1690, 580}, {566, 1690}},
        // 1000 opens a class, 800 joins (mean 900), then 690 joins the moved mean (< 900 / 4 away).
        {"the mean moves as values join", {1000, 800, 690}, {830}},
        {"a fourth length is left out", {500, 1000, 2000, 4000, 510}, {505, 1000, 2000}},
        {"first close class wins", {1000, 1400, 1150}, {1075, 1400}},
    };
    for (const Case& c : cases) {
        DurationClasses classes;
        for (int64_t v : c.values)
            classes.Add(v);
        std::vector<int64_t> means;
        for (int k = 0; k < classes.size; ++k)
            means.push_back(classes.Value(k));
        EXPECT_EQ(means, c.means) << c.name;
    }
}

} // namespace

// CloseGroup and FarGroups stand for every pair of values in the ranges: checked against
// CloseWithin on all pairs, around the boundaries where integer division bites.
TEST(DurationGroups, AgreeWithCloseWithinOnEveryPair) {
    for (int64_t lowest = 1; lowest <= 60; ++lowest) {
        for (int64_t longest = lowest; longest <= 90; ++longest) {
            bool allClose = true;
            for (int64_t a = lowest; a <= longest; ++a)
                for (int64_t b = lowest; b <= longest; ++b)
                    allClose = allClose && CloseWithin(a, b, 4);
            EXPECT_EQ(CloseGroup(lowest, longest), allClose) << lowest << ".." << longest;
        }
    }
    for (int64_t shorter = 1; shorter <= 60; ++shorter) {
        for (int64_t longer = shorter + 1; longer <= 90; ++longer) {
            // The two ranges reach 30 values beyond their ends.
            bool allFar = true;
            for (int64_t a = std::max<int64_t>(1, shorter - 30); a <= shorter; ++a)
                for (int64_t b = longer; b <= longer + 30; ++b)
                    allFar = allFar && !CloseWithin(a, b, 4);
            EXPECT_EQ(FarGroups(shorter, longer), allFar) << shorter << " / " << longer;
        }
    }
}

// LongestCloseTo bounds what the decoder counts and removes without a closeness test per value: the
// values close to m are those above m - m / 4 up to LongestCloseTo(m), a group from lowest stays
// close up to LongestCloseTo(lowest), and the first value far from a is LongestCloseTo(a) + 1.
TEST(DurationGroups, LongestCloseToBoundsCloseAndFarValues) {
    for (int64_t m = 1; m <= 200; ++m) {
        const int64_t longestClose = LongestCloseTo(m);
        for (int64_t v = 1; v <= 400; ++v) {
            EXPECT_EQ(CloseWithin(v, m, 4), v > m - m / 4 && v <= longestClose) << v << " / " << m;
            if (v >= m) {
                EXPECT_EQ(CloseGroup(m, v), v <= longestClose) << m << ".." << v;
            }
            EXPECT_EQ(FarGroups(m, v), v > longestClose) << m << " / " << v;
        }
    }
}
