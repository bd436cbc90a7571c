#include "decoding/frame_classes.h"

#include <algorithm>
#include <limits>

// Every duration of every train passes here. Most kinds are one, two or three groups of close
// lengths (see ClassMeans), found without the chain from one value to the next: a pass over pulse
// and pause pairs gathers each kind's spread; a kind that is not one group is counted around two
// bounds, which settles most two-group kinds; only the others get a pass around a split, and one
// more for a third group. All are plain loops without branches in 32 bits, which the compiler
// vectorises. Any other kind, and any frame whose sums could exceed 32 bits, goes through
// DurationClasses.

namespace {

constexpr int32_t kFirstClassifiedPosition = 2;

// Lowest, longest, sum and number of the classified durations of one kind. Unsigned, so that a
// duration of 0 or below shows as a lowest of 0 or a longest above the largest int32_t.
struct Spread {
    uint32_t lowest = std::numeric_limits<uint32_t>::max();
    uint32_t longest = 0;
    uint32_t sum = 0; // wraps; see SumsExact
    int32_t count = 0;

    bool AboveZero() const { return lowest > 0 && longest <= uint32_t{std::numeric_limits<int32_t>::max()}; }
    // No sum can have wrapped when every value times their number stays within 32 bits.
    bool SumsExact() const { return uint64_t{longest} * static_cast<uint64_t>(count) <= 0xFFFFFFFFu; }
};

// The spreads of positions 2 to end - 1 (end odd, at least 7): pulse and pause in pairs, in a plain
// loop without branches that the compiler vectorises.
void Spreads(const int32_t* durations, int32_t end, Spread& pulses, Spread& pauses) {
    const int32_t pairs = (end - 3) / 2;
    const int32_t* pair = durations + kFirstClassifiedPosition;
    // Signed: the vector registers of the x86-64 baseline compare signed 32-bit values only.
    int32_t pulseLowest = std::numeric_limits<int32_t>::max(),
            pulseLongest = std::numeric_limits<int32_t>::min();
    int32_t pauseLowest = pulseLowest, pauseLongest = pulseLongest;
    uint32_t pulseSum = 0, pauseSum = 0;
    for (int32_t j = 0; j < pairs; ++j) {
        const int32_t pulse = pair[2 * j];
        const int32_t pause = pair[2 * j + 1];
        pulseLowest = std::min(pulseLowest, pulse);
        pulseLongest = std::max(pulseLongest, pulse);
        pulseSum += static_cast<uint32_t>(pulse);
        pauseLowest = std::min(pauseLowest, pause);
        pauseLongest = std::max(pauseLongest, pause);
        pauseSum += static_cast<uint32_t>(pause);
    }
    const int32_t last = durations[end - 1];
    pulseLowest = std::min(pulseLowest, last);
    pulseLongest = std::max(pulseLongest, last);
    // A lowest of 0 or below shows as 0, and a longest below 0 as above the largest int32_t.
    pulses = {static_cast<uint32_t>(std::max(pulseLowest, 0)), static_cast<uint32_t>(pulseLongest),
              pulseSum + static_cast<uint32_t>(last), pairs + 1};
    pauses = {static_cast<uint32_t>(std::max(pauseLowest, 0)), static_cast<uint32_t>(pauseLongest), pauseSum,
              pairs};
}

// How the values of one kind fall around a split: those up to shortUpTo, those above longFrom, and
// the number between. Only for kinds whose sums cannot wrap.
struct Split {
    uint32_t shortUpTo = 0;
    uint32_t longFrom = 0;
    uint32_t shortSum = 0;
    uint32_t shortCount = 0;
    uint32_t shortLongest = 0;
    uint32_t longLowest = std::numeric_limits<uint32_t>::max();
    uint32_t upToLongFromCount = 0;

    // Masks rather than branches or conditions joined by &&, so that the loop vectorises.
    void Add(uint32_t v) {
        const uint32_t shortMask = 0u - static_cast<uint32_t>(v <= shortUpTo);
        shortSum += v & shortMask;
        shortCount -= shortMask;
        shortLongest = std::max(shortLongest, v & shortMask);
        longLowest = std::min(longLowest, v | shortMask);
        upToLongFromCount += static_cast<uint32_t>(v <= longFrom);
    }
    // shortUpTo <= longFrom, so the short values are among those up to longFrom.
    uint32_t MiddleCount() const { return upToLongFromCount - shortCount; }
};

// Every value of a close group that holds the lowest value is at most shortUpTo, and every value
// of one that holds the longest is above longFrom.
Split SplitOf(const Spread& spread) {
    Split split;
    split.shortUpTo = static_cast<uint32_t>((4 * uint64_t{spread.lowest} - 1) / 3);
    split.longFrom = std::max(spread.longest - spread.longest / 4, split.shortUpTo);
    return split;
}

// The split of one kind's n values at values[0], values[2], ..., all above 0, in a pass vectorised
// as Spreads is: with the fields in locals, signed, and with masks rather than conditions.
void SplitValues(const int32_t* values, int32_t n, Split& split) {
    constexpr uint32_t kLargest = std::numeric_limits<int32_t>::max();
    // No value is above the largest int32_t, so a shortUpTo beyond it counts as that.
    const int32_t upTo = static_cast<int32_t>(std::min(split.shortUpTo, kLargest));
    const int32_t from = static_cast<int32_t>(std::min(split.longFrom, kLargest));
    uint32_t sum = 0, count = 0, below = 0;
    int32_t longest = 0, lowest = std::numeric_limits<int32_t>::max();
    for (int32_t j = 0; j < n; ++j) {
        const int32_t v = values[2 * j];
        const uint32_t shortMask = 0u - static_cast<uint32_t>(v <= upTo);
        sum += static_cast<uint32_t>(v) & shortMask;
        count -= shortMask;
        // A long value shows as 0 among the short ones, a short one as the largest among the long.
        longest = std::max(longest, static_cast<int32_t>(static_cast<uint32_t>(v) & shortMask));
        lowest = std::min(lowest, static_cast<int32_t>(static_cast<uint32_t>(v) | (shortMask >> 1)));
        below += static_cast<uint32_t>(v <= from);
    }
    split.shortSum = sum;
    split.shortCount = count;
    split.shortLongest = static_cast<uint32_t>(longest);
    split.longLowest = static_cast<uint32_t>(lowest);
    split.upToLongFromCount = below;
}

// Two close groups far from each other, found by counting alone (the common case, so no extremes):
// every value up to shortUpTo is close to the lowest, every value from longFrom on is close to the
// longest and far from every value up to shortUpTo; when every value is one or the other, those are
// the groups. values and spread as for SplitValues; the kind is not one close group.
bool TwoGroupsByCount(const int32_t* values, const Spread& spread, ClassMeans& means) {
    const int64_t lowest = spread.lowest;
    const int64_t longest = spread.longest;
    const int64_t shortUpTo = LongestCloseTo(lowest);
    const int64_t longFrom = std::max(longest - longest / 4 + 1, LongestCloseTo(shortUpTo) + 1);
    // Below the longest, as the kind is not one close group; so both fit in 32 bits.
    if (shortUpTo < lowest || longFrom > longest)
        return false;
    const int32_t upTo = static_cast<int32_t>(shortUpTo);
    const int32_t from = static_cast<int32_t>(longFrom);
    uint32_t shortSum = 0, shortCount = 0, belowLong = 0;
    for (int32_t j = 0; j < spread.count; ++j) {
        const int32_t v = values[2 * j];
        const uint32_t shortMask = 0u - static_cast<uint32_t>(v <= upTo);
        shortSum += static_cast<uint32_t>(v) & shortMask;
        shortCount -= shortMask;
        belowLong += static_cast<uint32_t>(v < from);
    }
    if (belowLong != shortCount)
        return false;
    const uint32_t longCount = static_cast<uint32_t>(spread.count) - shortCount;
    means = {2, {shortSum / shortCount, (spread.sum - shortSum) / longCount}};
    return true;
}

// Two close groups far from each other: the classes are the groups.
bool TwoGroups(const Spread& spread, const Split& split, ClassMeans& means) {
    if (split.MiddleCount() != 0 || split.shortCount >= static_cast<uint32_t>(spread.count) ||
        !CloseGroup(spread.lowest, split.shortLongest) || !CloseGroup(split.longLowest, spread.longest) ||
        !FarGroups(split.shortLongest, split.longLowest))
        return false;
    const uint32_t longCount = static_cast<uint32_t>(spread.count) - split.shortCount;
    means = {2, {split.shortSum / split.shortCount, (spread.sum - split.shortSum) / longCount}};
    return true;
}

ClassMeans MeansOf(const DurationClasses& classes) {
    ClassMeans means;
    means.size = classes.size;
    for (int k = 0; k < classes.size; ++k)
        means.value[k] = classes.Value(k);
    return means;
}

// The classes value by value, for kinds that are not close groups far from one another.
ClassMeans ClassesOf(const int32_t* durations, int32_t first, int32_t end) {
    DurationClasses classes;
    for (int32_t i = first; i < end; i += 2)
        classes.Add(durations[i]);
    return MeansOf(classes);
}

// Three close groups far from one another: the short group comes from the split, the middle and
// the long one from one more pass, and the order of the classes from the first values.
bool ThreeGroups(const int32_t* durations, int32_t first, const Spread& spread, const Split& split,
                 ClassMeans& means) {
    const uint32_t middleCount = split.MiddleCount();
    const uint32_t longCount = static_cast<uint32_t>(spread.count) - split.upToLongFromCount;
    // With a middle group, the split's lowest value above the short ones is the middle's lowest.
    const uint32_t middleLowest = split.longLowest;
    if (middleCount == 0 || longCount == 0 || !CloseGroup(spread.lowest, split.shortLongest) ||
        !FarGroups(split.shortLongest, middleLowest))
        return false;
    uint32_t middleSum = 0;
    uint32_t middleLongest = 0;
    uint32_t longLowest = std::numeric_limits<uint32_t>::max();
    // Counted by value rather than by position, so that the loop vectorises.
    const int32_t* values = durations + first;
    const uint32_t shortUpTo = split.shortUpTo;
    const uint32_t longFrom = split.longFrom;
    const int32_t count = spread.count;
    for (int32_t j = 0; j < count; ++j) {
        const uint32_t v = static_cast<uint32_t>(values[2 * j]);
        const uint32_t notLong = 0u - static_cast<uint32_t>(v <= longFrom);
        const uint32_t middle = notLong - (0u - static_cast<uint32_t>(v <= shortUpTo));
        middleSum += v & middle;
        middleLongest = std::max(middleLongest, v & middle);
        longLowest = std::min(longLowest, v | notLong);
    }
    if (!CloseGroup(middleLowest, middleLongest) || !CloseGroup(longLowest, spread.longest) ||
        !FarGroups(middleLongest, longLowest))
        return false;
    const int64_t groupMeans[3] = {split.shortSum / split.shortCount, middleSum / middleCount,
                                   (spread.sum - split.shortSum - middleSum) / longCount};
    // Classes are made in the order in which the groups first appear: the first value's group,
    // then the first other group to show (all three hold values, so one does), then the third.
    const auto groupOf = [&split](int32_t v) {
        const uint32_t u = static_cast<uint32_t>(v);
        return u <= split.shortUpTo ? 0 : u <= split.longFrom ? 1 : 2;
    };
    const int firstGroup = groupOf(durations[first]);
    int32_t i = first + 2;
    while (groupOf(durations[i]) == firstGroup)
        i += 2;
    const int secondGroup = groupOf(durations[i]);
    means = {3, {groupMeans[firstGroup], groupMeans[secondGroup], groupMeans[3 - firstGroup - secondGroup]}};
    return true;
}

// The classes of one kind (positions first, first + 2, ... before end), whose sums cannot wrap: the
// cheapest way that settles it first.
void ClassifyKind(const int32_t* durations, int32_t first, int32_t end, const Spread& spread,
                  ClassMeans& means) {
    if (CloseGroup(spread.lowest, spread.longest)) {
        means = {1, {spread.sum / spread.count}};
        return;
    }
    const int32_t* values = durations + first;
    if (TwoGroupsByCount(values, spread, means))
        return;
    Split split = SplitOf(spread);
    SplitValues(values, spread.count, split);
    if (!TwoGroups(spread, split, means) && !ThreeGroups(durations, first, spread, split, means))
        means = ClassesOf(durations, first, end);
}

} // namespace

bool ClassifyFrame(const int32_t* durations, int32_t end, ClassMeans& pulses, ClassMeans& pauses) {
    Spread pulseSpread;
    Spread pauseSpread;
    Spreads(durations, end, pulseSpread, pauseSpread);
    if (durations[0] <= 0 || durations[1] <= 0 || !pulseSpread.AboveZero() || !pauseSpread.AboveZero())
        return false;
    if (!pulseSpread.SumsExact() || !pauseSpread.SumsExact()) {
        pulses = ClassesOf(durations, kFirstClassifiedPosition, end);
        pauses = ClassesOf(durations, kFirstClassifiedPosition + 1, end);
        return true;
    }
    ClassifyKind(durations, kFirstClassifiedPosition, end, pulseSpread, pulses);
    ClassifyKind(durations, kFirstClassifiedPosition + 1, end, pauseSpread, pauses);
    return true;
}
