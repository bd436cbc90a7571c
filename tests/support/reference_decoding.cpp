// The reference implementations: the product's code as it was before the speed work, unchanged
// apart from living in one file and one namespace. The closeness test and the bi-phase bits did
// not change; the product's are used.
#include "support/reference_decoding.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "decoding/bi_phase.h"
#include "decoding/code_bits.h"
#include "decoding/duration_classes.h"
#include "decoding/durations.h"
#include "decoding/raw_signature.h"
#include "receiver/receiver.h"

namespace reference {
namespace {

constexpr int kDurationClassCapacity = 3;

struct DurationClasses {
    int64_t sums[kDurationClassCapacity] = {};
    int64_t counts[kDurationClassCapacity] = {};
    int size = 0;

    void Add(int64_t value);
    int64_t Value(int k) const { return sums[k] / counts[k]; }
};

constexpr int kRawClassCapacity = 4;

struct RawClassTable {
    int32_t size = 0;
    int32_t minimum[kRawClassCapacity] = {};
    int32_t maximum[kRawClassCapacity] = {};

    int32_t Centre(int k) const;
    int32_t ClassOf(int32_t value) const;
};

void DurationClasses::Add(int64_t value) {
    for (int k = 0; k < size; ++k) {
        // The mean moves as values join, so later values are compared with the class as it is now.
        if (CloseWithin(Value(k), value, 4)) {
            sums[k] += value;
            counts[k] += 1;
            return;
        }
    }
    if (size < kDurationClassCapacity) {
        sums[size] = value;
        counts[size] = 1;
        ++size;
    }
}

constexpr int64_t kSameClassPercent = 75;

// a <= b, both above 0. 64-bit so that long durations cannot overflow the percentage.
bool StartsNewClass(int32_t a, int32_t b) {
    return int64_t{a} * 100 / b < kSameClassPercent;
}

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

// The longest train whose signature can still fit: one class of each kind and four class numbers
// per byte. Longer trains are refused before anything is copied.
constexpr int32_t kHeaderAndSmallestCentres = 1 + 2 + 2;
constexpr int32_t kMaxSignatureDurations = 4 * (kRawSignatureMaxLength - kHeaderAndSmallestCentres);

// Copies the durations at first, first + 2, ... and returns their number.
int32_t CopyKind(const int32_t* durations, int32_t count, int32_t first, int32_t* values) {
    int32_t n = 0;
    for (int32_t i = first; i < count; i += 2)
        values[n++] = durations[i];
    return n;
}

uint8_t* WriteCentres(const RawClassTable& table, uint8_t* out) {
    for (int32_t k = 0; k < table.size; ++k) {
        // Only the low 16 bits are kept; stored signatures have them this way.
        const uint32_t centre = static_cast<uint32_t>(table.Centre(k));
        *out++ = static_cast<uint8_t>(centre & 0xFF);
        *out++ = static_cast<uint8_t>((centre >> 8) & 0xFF);
    }
    return out;
}

// Class number of the duration at position i: position 0 of each group of four among the pulse
// classes, positions 1 to 3 among the pause classes. The pulse at position 2 is classified among the
// pause classes on purpose: stored signatures were built this way. When it is longer than every
// pause class it gets the longest pause class (number S - 1): the same train always gives the same
// number, and a pulse that is a little shorter in the next reception, just inside the longest
// class, still gets that number.
uint8_t ClassNumber(const int32_t* durations, int32_t count, int32_t i, const RawClassTable& pulses,
                    const RawClassTable& pauses) {
    if (i >= count)
        return 0;
    const RawClassTable& table = i % 4 == 0 ? pulses : pauses;
    return static_cast<uint8_t>(table.ClassOf(durations[i]));
}

} // namespace

int32_t BuildRawSignature(const int32_t* durations, int32_t count, uint8_t* out) {
    if (durations == nullptr || out == nullptr || count < 2 || count > kMaxSignatureDurations)
        return 0;
    if (!AllAboveZero(durations, count))
        return 0;

    int32_t values[(kMaxSignatureDurations + 1) / 2];
    RawClassTable pulses;
    RawClassTable pauses;
    if (!BuildRawClassTable(values, CopyKind(durations, count, 0, values), pulses) ||
        !BuildRawClassTable(values, CopyKind(durations, count, 1, values), pauses))
        return 0;
    const int32_t length = 1 + 2 * pulses.size + 2 * pauses.size + (count + 3) / 4;
    if (length > kRawSignatureMaxLength)
        return 0;

    uint8_t* p = out;
    *p++ = static_cast<uint8_t>(pulses.size * 16 + pauses.size);
    p = WriteCentres(pulses, p);
    p = WriteCentres(pauses, p);
    for (int32_t i = 0; i < count; i += 4) {
        uint8_t packed = 0;
        for (int32_t k = 0; k < 4; ++k)
            packed = static_cast<uint8_t>(packed * 4 + ClassNumber(durations, count, i + k, pulses, pauses));
        *p++ = packed;
    }
    return length;
}

namespace {

// Everything is computed in 64 bits: for durations whose sums and doublings fit in 32 bits the
// results are those of 32-bit arithmetic, and longer durations (a bad tick length setting) can
// no longer overflow.

// Pauses from this position on may end the frame; the first ones belong to the header and the
// first bits, which may be long.
constexpr int32_t kFirstFrameGapPosition = 11;
constexpr int32_t kFrameGapMicroseconds = 10200;
// Classification starts behind the leading pulse and pause, which are often a header.
constexpr int32_t kFirstClassifiedPosition = 2;

bool IsRepeatableKind(KeyCode code) {
    const uint8_t kind = CodingKindOf(code) & 3;
    return kind == CodingPulseDistance || kind == CodingPulseLength;
}

// The train ends with the pulse before the first long pause; a repeated copy behind it is ignored.
int32_t CutAtFrameGap(const int32_t* durations, int32_t count) {
    for (int32_t x = kFirstFrameGapPosition; x < count; x += 2) {
        if (durations[x] > kFrameGapMicroseconds)
            return x;
    }
    return count;
}

void Classify(const int32_t* durations, int32_t count, DurationClasses& pulses, DurationClasses& pauses) {
    for (int32_t i = kFirstClassifiedPosition; i < count; ++i)
        (i % 2 == 0 ? pulses : pauses).Add(durations[i]);
}

// Removes every separator pause close to the given length together with the pulse before it,
// so that a frame split in two halves decodes like the same frame without the split.
int32_t RemoveSeparators(int32_t* durations, int32_t count, int64_t separator) {
    int32_t x = 3;
    while (x < count) {
        if (CloseWithin(durations[x], separator, 4)) {
            std::copy(durations + x + 1, durations + count, durations + x - 1);
            count -= 2;
        } else {
            x += 2;
        }
    }
    return count;
}

struct LengthPair {
    int64_t shortLength;
    int64_t longLength;
    bool biPhaseLike; // one length, or two lengths in a ratio of about 1:2
};

LengthPair PairOf(const DurationClasses& classes, int classCount) {
    if (classCount == 1)
        return {classes.Value(0), classes.Value(0), true};
    if (classCount == 2) {
        const int64_t a = classes.Value(0);
        const int64_t b = classes.Value(1);
        const int64_t shorter = std::min(a, b);
        const int64_t longer = std::max(a, b);
        return {shorter, longer, CloseWithin(2 * shorter, longer, 4)};
    }
    return {0, 0, false};
}

// A pulse clearly longer than the bit pulses is a header; it goes together with its pause.
int32_t HeaderLength(const int32_t* durations, int64_t reference) {
    return durations[0] > (3 * reference) / 2 ? 2 : 0;
}

// One bit per pause that is followed by a pulse.
KeyCode PulseDistanceCode(const int32_t* durations, int32_t count, int64_t threshold) {
    if (count % 2 != 0)
        --count;
    CodeBits bits;
    for (int32_t x = 1; x < count && !bits.Full(); x += 2)
        bits.Push(durations[x] > threshold);
    return bits.Code(CodingPulseDistance);
}

// One bit per pulse, the last one included.
KeyCode PulseLengthCode(const int32_t* durations, int32_t count, int64_t threshold) {
    if (count % 2 == 0)
        --count;
    CodeBits bits;
    for (int32_t x = 0; x < count && !bits.Full(); x += 2)
        bits.Push(durations[x] > threshold);
    return bits.Code(CodingPulseLength);
}

} // namespace

KeyCode DecodePulseTrain(int32_t* durations, int32_t count, KeyCode previousCode) {
    if (durations == nullptr || count <= 2)
        return 0;
    // The train always ends with a pulse: a final pause is dropped.
    int32_t c = count % 2 == 0 ? count - 1 : count;
    if (c == 3 || c == 5) {
        // A repeat frame: only codes that a held button resends this way are repeated.
        return AllAboveZero(durations, c) && IsRepeatableKind(previousCode) ? previousCode : 0;
    }
    // Odd and above 5 here, so at least 7 durations.
    c = CutAtFrameGap(durations, c);
    if (!AllAboveZero(durations, c))
        return 0;

    DurationClasses pulses;
    DurationClasses pauses;
    Classify(durations, c, pulses, pauses);
    const int pulseClassCount = pulses.size;
    int pauseClassCount = pauses.size;
    if (pauseClassCount == 3 && 2 * pauses.Value(1) < pauses.Value(2)) {
        // The statistics are deliberately not recomputed after the separators are gone.
        pauseClassCount = 2;
        c = RemoveSeparators(durations, c, pauses.Value(2));
    }

    const LengthPair pulse = PairOf(pulses, pulseClassCount);
    const LengthPair pause = PairOf(pauses, pauseClassCount);
    bool biPhase = pulse.biPhaseLike && pause.biPhaseLike;
    int64_t pS = pulse.shortLength;
    int64_t pL = pulse.longLength;
    int64_t sS = pause.shortLength;
    int64_t sL = pause.longLength;

    // A kind with a single class borrows the missing length from the other kind (bi-phase only).
    if (pulseClassCount == 1) {
        if (CloseWithin(pS, sS, 3))
            pL = 2 * pS;
        if (CloseWithin(pL, sL, 3))
            pS = pL / 2;
    }
    if (pauseClassCount == 1) {
        if (CloseWithin(pS, sS, 3))
            sL = 2 * sS;
        if (CloseWithin(pL, sL, 3))
            sS = sL / 2;
    }
    if (pulseClassCount == 1 && pauseClassCount == 1 && !CloseWithin(pS, sS, 4) && !CloseWithin(pL, sL, 4))
        biPhase = false;
    // Bi-phase has no separate start pulse.
    if (!CloseWithin(durations[0], pS, 4) && !CloseWithin(durations[0], pL, 4))
        biPhase = false;
    if (biPhase && pulseClassCount == 1 && pauseClassCount == 2 && 2 * pL < sS)
        biPhase = false;

    if (biPhase)
        return DecodeBiPhase(durations, c, BiPhaseTiming{pS, pL, sS, sL});
    if (pulseClassCount == 1 && pauseClassCount == 2) {
        // The header reference is the measured pulse class, not a length borrowed above.
        const int32_t header = HeaderLength(durations, pulses.Value(0));
        return PulseDistanceCode(durations + header, c - header, (sS + sL) / 2);
    }
    if (pulseClassCount == 2 && (pauseClassCount == 1 || pauseClassCount == 2)) {
        const int32_t header = HeaderLength(durations, pL);
        return PulseLengthCode(durations + header, c - header, (pS + pL) / 2);
    }
    return 0;
}

} // namespace reference
