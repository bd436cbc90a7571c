#pragma once
// Length classes of raw signatures: the sorted durations of one kind split where a value is less
// than 75 % of the next one.
#include <bit>
#include <cstdint>

constexpr int kRawClassCapacity = 4;

struct RawClassTable {
    int32_t size = 0;
    int32_t minimum[kRawClassCapacity] = {};
    int32_t maximum[kRawClassCapacity] = {};

    // (minimum + maximum) / 2 of class k.
    int32_t Centre(int k) const;
};

// The classes without sorting. Values are put into buckets so narrow (the longest value of a
// bucket is less than 9/8 of its shortest) that a bucket never holds a class boundary, since one
// needs a step of more than 4/3 between sorted neighbours. So only the shortest and longest value
// of each bucket are kept, and the boundaries lie between the longest value of one bucket and the
// shortest of the next bucket that holds any. A value costs a few operations and no sort.
class RawClassBuckets {
  public:
    // value above 0.
    void Add(int32_t value) {
        const int bucket = BucketOf(value);
        const uint64_t bit = uint64_t{1} << (bucket % 64);
        uint64_t& used = used_[bucket / 64];
        if ((used & bit) == 0) {
            used |= bit;
            shortest_[bucket] = value;
            longest_[bucket] = value;
            return;
        }
        // Rarely true once a few values have arrived, so the branches are predictable.
        if (value < shortest_[bucket])
            shortest_[bucket] = value;
        if (value > longest_[bucket])
            longest_[bucket] = value;
    }
    // False when there are no values or they need more than four classes.
    bool ToTable(RawClassTable& table) const;

  private:
    static constexpr int kBuckets = 256;

    // Values 1 to 7 have a bucket each; above, eight buckets per power of two, by the three bits
    // below the leading one. Ascending with the value.
    static int BucketOf(int32_t value) {
        const uint32_t v = static_cast<uint32_t>(value);
        const int exponent = 31 - std::countl_zero(v);
        if (exponent < 3)
            return static_cast<int>(v);
        return 8 * (exponent - 2) + static_cast<int>((v >> (exponent - 3)) & 7);
    }

    uint64_t used_[kBuckets / 64] = {};
    int32_t shortest_[kBuckets];
    int32_t longest_[kBuckets];
};
