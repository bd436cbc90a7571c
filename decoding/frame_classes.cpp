#include "decoding/frame_classes.h"

#include <algorithm>
#include <limits>

// Every duration of every train passes here. Most kinds are one, two or three groups of close
// lengths (see ClassMeans), which a pass gathering each kind's spread and, when a kind is not one
// group, a second pass around a split find without the chain from one value to the next. Both are
// plain loops without branches over pulse and pause pairs in 32 bits, which the compiler vectorises.
// Any other kind, and any frame whose sums could exceed 32 bits, goes through DurationClasses.

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
    uint32_t pulseLowest = pulses.lowest, pulseLongest = 0, pulseSum = 0;
    uint32_t pauseLowest = pauses.lowest, pauseLongest = 0, pauseSum = 0;
    for (int32_t j = 0; j < pairs; ++j) {
        const uint32_t pulse = static_cast<uint32_t>(pair[2 * j]);
        const uint32_t pause = static_cast<uint32_t>(pair[2 * j + 1]);
        pulseLowest = std::min(pulseLowest, pulse);
        pulseLongest = std::max(pulseLongest, pulse);
        pulseSum += pulse;
        pauseLowest = std::min(pauseLowest, pause);
        pauseLongest = std::max(pauseLongest, pause);
        pauseSum += pause;
    }
    const uint32_t last = static_cast<uint32_t>(durations[end - 1]);
    pulses = {std::min(pulseLowest, last), std::max(pulseLongest, last), pulseSum + last, pairs + 1};
    pauses = {pauseLowest, pauseLongest, pauseSum, pairs};
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

// Both kinds' splits in one pass, vectorised as Spreads is: with the fields in locals, and with
// masks rather than conditions.
void Splits(const int32_t* durations, int32_t end, Split& pulses, Split& pauses) {
    const int32_t pairs = (end - 3) / 2;
    const int32_t* pair = durations + kFirstClassifiedPosition;
    const uint32_t pulseUpTo = pulses.shortUpTo, pulseFrom = pulses.longFrom;
    const uint32_t pauseUpTo = pauses.shortUpTo, pauseFrom = pauses.longFrom;
    uint32_t pulseSum = 0, pulseCount = 0, pulseLongest = 0, pulseLowest = pulses.longLowest, pulseBelow = 0;
    uint32_t pauseSum = 0, pauseCount = 0, pauseLongest = 0, pauseLowest = pauses.longLowest, pauseBelow = 0;
    for (int32_t j = 0; j < pairs; ++j) {
        const uint32_t pulse = static_cast<uint32_t>(pair[2 * j]);
        const uint32_t pause = static_cast<uint32_t>(pair[2 * j + 1]);
        const uint32_t shortPulse = 0u - static_cast<uint32_t>(pulse <= pulseUpTo);
        const uint32_t shortPause = 0u - static_cast<uint32_t>(pause <= pauseUpTo);
        pulseSum += pulse & shortPulse;
        pauseSum += pause & shortPause;
        pulseCount -= shortPulse;
        pauseCount -= shortPause;
        pulseLongest = std::max(pulseLongest, pulse & shortPulse);
        pauseLongest = std::max(pauseLongest, pause & shortPause);
        pulseLowest = std::min(pulseLowest, pulse | shortPulse);
        pauseLowest = std::min(pauseLowest, pause | shortPause);
        pulseBelow += static_cast<uint32_t>(pulse <= pulseFrom);
        pauseBelow += static_cast<uint32_t>(pause <= pauseFrom);
    }
    pulses.shortSum = pulseSum;
    pulses.shortCount = pulseCount;
    pulses.shortLongest = pulseLongest;
    pulses.longLowest = pulseLowest;
    pulses.upToLongFromCount = pulseBelow;
    pauses.shortSum = pauseSum;
    pauses.shortCount = pauseCount;
    pauses.shortLongest = pauseLongest;
    pauses.longLowest = pauseLowest;
    pauses.upToLongFromCount = pauseBelow;
    pulses.Add(static_cast<uint32_t>(durations[end - 1]));
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
bool ThreeGroups(const int32_t* durations, int32_t first, int32_t end, const Spread& spread,
                 const Split& split, ClassMeans& means) {
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
    // Classes are made in the order in which the groups first appear.
    bool seen[3] = {};
    means.size = 0;
    for (int32_t i = first; i < end && means.size < 3; i += 2) {
        const uint32_t v = static_cast<uint32_t>(durations[i]);
        const int group = v <= split.shortUpTo ? 0 : v <= split.longFrom ? 1 : 2;
        if (!seen[group]) {
            seen[group] = true;
            means.value[means.size++] = groupMeans[group];
        }
    }
    return true;
}

} // namespace

bool ClassifyFrame(const int32_t* durations, int32_t end, ClassMeans& pulses, ClassMeans& pauses) {
    Spread pulseSpread;
    Spread pauseSpread;
    Spreads(durations, end, pulseSpread, pauseSpread);
    if (durations[0] <= 0 || durations[1] <= 0 || !pulseSpread.AboveZero() || !pauseSpread.AboveZero())
        return false;
    const bool pulsesClose = CloseGroup(pulseSpread.lowest, pulseSpread.longest);
    const bool pausesClose = CloseGroup(pauseSpread.lowest, pauseSpread.longest);
    if (pulsesClose)
        pulses = {1, {pulseSpread.sum / pulseSpread.count}};
    if (pausesClose)
        pauses = {1, {pauseSpread.sum / pauseSpread.count}};
    const bool exactSums = pulseSpread.SumsExact() && pauseSpread.SumsExact();
    if (!exactSums) {
        pulses = ClassesOf(durations, kFirstClassifiedPosition, end);
        pauses = ClassesOf(durations, kFirstClassifiedPosition + 1, end);
    } else if (!pulsesClose || !pausesClose) {
        Split pulseSplit = SplitOf(pulseSpread);
        Split pauseSplit = SplitOf(pauseSpread);
        Splits(durations, end, pulseSplit, pauseSplit);
        if (!pulsesClose && !TwoGroups(pulseSpread, pulseSplit, pulses) &&
            !ThreeGroups(durations, kFirstClassifiedPosition, end, pulseSpread, pulseSplit, pulses))
            pulses = ClassesOf(durations, kFirstClassifiedPosition, end);
        if (!pausesClose && !TwoGroups(pauseSpread, pauseSplit, pauses) &&
            !ThreeGroups(durations, kFirstClassifiedPosition + 1, end, pauseSpread, pauseSplit, pauses))
            pauses = ClassesOf(durations, kFirstClassifiedPosition + 1, end);
    }
    return true;
}
