#pragma once
// Length classes of raw signatures: the sorted durations of one kind split where a value is less
// than 75 % of the next one.
#include <cstdint>

constexpr int kRawClassCapacity = 4;

struct RawClassTable {
    int32_t size = 0;
    int32_t minimum[kRawClassCapacity] = {};
    int32_t maximum[kRawClassCapacity] = {};

    // (minimum + maximum) / 2 of class k.
    int32_t Centre(int k) const;
    // The first class whose maximum is at least value; a value above every class gets the
    // longest class, so a learned train keeps matching itself.
    int32_t ClassOf(int32_t value) const;
};

// Builds the table from values (all above 0), which it sorts in place. False when there are no
// values or they need more than four classes.
bool BuildRawClassTable(int32_t* values, int32_t count, RawClassTable& table);
