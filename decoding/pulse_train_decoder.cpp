#include "decoding/pulse_train_decoder.h"

#include <algorithm>

#include "decoding/bi_phase.h"
#include "decoding/code_bits.h"
#include "decoding/duration_classes.h"
#include "decoding/durations.h"

// Everything is computed in 64 bits: for durations whose sums and doublings fit in 32 bits the
// results are those of 32-bit arithmetic, and longer durations (a bad tick length setting) can
// no longer overflow.

namespace {

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

// One walk over the frame: it ends at the first pause from position 11 on that is longer than the
// frame gap (a repeated copy behind it is ignored), every duration before that end must be above 0,
// and positions 2 onwards go to the class tables (the leading pulse and pause are often a header).
// Returns the frame's length, or 0 when a duration is 0 or below. count is odd.
int32_t ScanFrame(const int32_t* durations, int32_t count, DurationClasses& pulses, DurationClasses& pauses) {
    if (durations[0] <= 0 || durations[1] <= 0)
        return 0;
    // Pulse and pause in pairs, so that neither the kind nor the gap test needs a branch per position.
    int32_t i = kFirstClassifiedPosition;
    for (; i + 1 < count; i += 2) {
        const int32_t pulse = durations[i];
        const int32_t pause = durations[i + 1];
        if (pulse <= 0)
            return 0;
        pulses.Add(pulse);
        if (i + 1 >= kFirstFrameGapPosition && pause > kFrameGapMicroseconds)
            return i + 1;
        if (pause <= 0)
            return 0;
        pauses.Add(pause);
    }
    if (durations[i] <= 0)
        return 0;
    pulses.Add(durations[i]);
    return count;
}

// Removes every separator pause close to the given length together with the pulse before it,
// so that a frame split in two halves decodes like the same frame without the split. One pass:
// the kept durations move down in place.
int32_t RemoveSeparators(int32_t* durations, int32_t count, int64_t separator) {
    int32_t kept = 3;
    for (int32_t x = 3; x < count; x += 2) {
        if (CloseWithin(durations[x], separator, 4))
            continue;
        durations[kept - 1] = durations[x - 1];
        durations[kept] = durations[x];
        kept += 2;
    }
    // The final pulse (count is odd) follows the last kept pause.
    durations[kept - 1] = durations[count - 1];
    return kept;
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
    DurationClasses pulses;
    DurationClasses pauses;
    c = ScanFrame(durations, c, pulses, pauses);
    if (c == 0)
        return 0;
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
