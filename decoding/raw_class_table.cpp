#include "decoding/raw_class_table.h"

#include <algorithm>

namespace {

constexpr int64_t kSameClassPercent = 75;

// a <= b, both above 0. 64-bit so that long durations cannot overflow the percentage.
bool StartsNewClass(int32_t a, int32_t b) {
    return int64_t{a} * 100 / b < kSameClassPercent;
}

} // namespace

int32_t RawClassTable::Centre(int k) const {
    return static_cast<int32_t>((int64_t{minimum[k]} + maximum[k]) / 2);
}

int32_t RawClassTable::ClassOf(int32_t value) const {
    for (int32_t k = 0; k < size; ++k) {
        if (maximum[k] >= value)
            return k;
    }
    return size - 1;
}

bool BuildRawClassTable(int32_t* values, int32_t count, RawClassTable& table) {
    if (count <= 0)
        return false;
    std::sort(values, values + count);
    table.size = 1;
    table.minimum[0] = values[0];
    for (int32_t k = 0; k + 1 < count; ++k) {
        if (!StartsNewClass(values[k], values[k + 1]))
            continue;
        if (table.size == kRawClassCapacity)
            return false;
        table.maximum[table.size - 1] = values[k];
        table.minimum[table.size] = values[k + 1];
        ++table.size;
    }
    table.maximum[table.size - 1] = values[count - 1];
    return true;
}
