#pragma once
// Duration classes of the decoder: up to three running means per kind (pulses or pauses).
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
struct DurationClasses {
    int64_t sums[kDurationClassCapacity] = {};
    int64_t counts[kDurationClassCapacity] = {};
    int size = 0;

    void Add(int64_t value);
    // Current mean of class k (0 <= k < size): sum / count, truncated.
    int64_t Value(int k) const { return sums[k] / counts[k]; }
};
