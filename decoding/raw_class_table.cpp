#include "decoding/raw_class_table.h"

#include <bit>

namespace {

// a <= b, both above 0: b opens a new class when a * 100 / b < 75, that is when 4a < 3b.
// 64-bit, so that long durations cannot overflow.
bool SameClass(int32_t a, int32_t b) {
    return 4 * int64_t{a} >= 3 * int64_t{b};
}

} // namespace

int32_t RawClassTable::Centre(int k) const {
    return static_cast<int32_t>((int64_t{minimum[k]} + maximum[k]) / 2);
}

bool RawClassBuckets::ToTable(RawClassTable& table) const {
    table.size = 0;
    for (int word = 0; word < kBuckets / 64; ++word) {
        for (uint64_t rest = used_[word]; rest != 0; rest &= rest - 1) {
            const int bucket = 64 * word + std::countr_zero(rest);
            if (table.size > 0 && SameClass(table.maximum[table.size - 1], shortest_[bucket])) {
                table.maximum[table.size - 1] = longest_[bucket];
                continue;
            }
            if (table.size == kRawClassCapacity)
                return false;
            table.minimum[table.size] = shortest_[bucket];
            table.maximum[table.size] = longest_[bucket];
            ++table.size;
        }
    }
    return table.size > 0;
}
