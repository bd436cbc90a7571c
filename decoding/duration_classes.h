#pragma once
// Duration classes of the decoder: up to three running means per kind (pulses or pauses).
#include <algorithm>
#include <cstdint>

// a and b are close when they differ by less than max(a, b) / fraction (4: a quarter, 3: a third).
// 64-bit, so that doubled or summed durations of any 32-bit input cannot overflow.
inline bool CloseWithin(int64_t a, int64_t b, int64_t fraction) {
    const int64_t difference = a > b ? a - b : b - a;
    const int64_t larger = a > b ? a : b;
    return difference < (larger / fraction);
}

constexpr int kDurationClassCapacity = 3;

// Classes in order of creation. A value joins the first class whose current mean is within a
// quarter of it, opens a new class while there is room, and is left out otherwise.
// Every duration of every train passes here, so no division is made per value and no branch
// depends on which class a value joins (bit values make that unpredictable). A mean is
// sum / count truncated, and for v above 0, CloseWithin(mean, v, 4) holds exactly when
//     v - v / 4 + 1 <= mean <= (4 * v - 4) / 3
// (below v: v - mean < v / 4; above it: mean - mean / 4 < v), that is, when
//     (v - v / 4 + 1) * count <= sum < ((4 * v - 4) / 3 + 1) * count,
// which needs only the value's two bounds and two multiplications per class.
struct DurationClasses {
    // Sums and counts of the three classes, named rather than indexed so that the compiler keeps
    // them in registers. An unused class has sum and count 0, which no value is close to.
    int64_t sum0 = 0, sum1 = 0, sum2 = 0;
    int64_t count0 = 0, count1 = 0, count2 = 0;
    int size = 0;

    // value above 0.
    void Add(int64_t value) {
        const uint64_t v = static_cast<uint64_t>(value);
        const int64_t from = static_cast<int64_t>(v - v / 4 + 1);
        const int64_t width = std::max<int64_t>(static_cast<int64_t>((4 * v - 4) / 3 + 1) - from, 0);
        // The mean moves as values join, so later values are compared with the class as it is now.
        // A kind often has a single class (the pulses of pulse-distance code): then one test is
        // enough, and the branch is predictable. The classes that do not exist yet (sum and count
        // 0) are close to no value.
        const int close0 = IsClose(sum0, count0, from, width);
        if (size <= 1) {
            if (close0) {
                sum0 += value;
                ++count0;
                return;
            }
        } else {
            const int close1 = IsClose(sum1, count1, from, width);
            const int close2 = IsClose(sum2, count2, from, width);
            if (close0 | close1 | close2) {
                const int64_t join0 = close0;
                const int64_t join1 = (close0 ^ 1) & close1;
                const int64_t join2 = (close0 | close1) ^ 1;
                sum0 += value & -join0;
                sum1 += value & -join1;
                sum2 += value & -join2;
                count0 += join0;
                count1 += join1;
                count2 += join2;
                return;
            }
        }
        if (size < kDurationClassCapacity) {
            // A new class: rare, so a branch is fine here.
            (size == 0 ? sum0 : size == 1 ? sum1 : sum2) = value;
            (size == 0 ? count0 : size == 1 ? count1 : count2) = 1;
            ++size;
        }
    }
    // Current mean of class k (0 <= k < size): sum / count, truncated.
    int64_t Value(int k) const { return k == 0 ? sum0 / count0 : k == 1 ? sum1 / count1 : sum2 / count2; }

  private:
    static bool IsClose(int64_t sum, int64_t count, int64_t from, int64_t width) {
        return static_cast<uint64_t>(sum - from * count) < static_cast<uint64_t>(width * count);
    }
};

// Values (above 0) from lowest to longest are all close to one another: any two of them, and so
// any mean of some of them, pass CloseWithin(a, b, 4). v - v / 4 grows with v, so the widest pair
// is the one to test.
inline bool CloseGroup(int64_t lowest, int64_t longest) {
    return longest - lowest < longest / 4;
}

// The longest value v for which CloseGroup(lowest, v) holds (lowest above 0): v - v / 4 < lowest.
// So the values above lowest that are close to it (CloseWithin) reach up to here, and the first
// value far from lowest (FarGroups) is the next one.
inline int64_t LongestCloseTo(int64_t lowest) {
    return (4 * lowest - 4) / 3;
}

// Every value up to shorterLongest is far from every value from longerLowest on (CloseWithin fails).
inline bool FarGroups(int64_t shorterLongest, int64_t longerLowest) {
    return longerLowest - shorterLongest >= longerLowest / 4;
}

// The means of the classes that DurationClasses builds from the same values. When the values fall
// into at most three groups that each pass CloseGroup and are FarGroups of one another, every value
// joins the class of its group (each class mean stays within its group), so the classes are the
// groups in the order in which they first appear, with the groups' means. That needs neither the
// chain from one value to the next nor a comparison per class. Two classes may be given in either
// order: with two classes only their lengths count.
struct ClassMeans {
    int size = 0;
    int64_t value[kDurationClassCapacity] = {};

    int64_t Value(int k) const { return value[k]; }
};
