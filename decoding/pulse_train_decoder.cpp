#include "decoding/pulse_train_decoder.h"

#include <algorithm>

#include "decoding/bi_phase.h"
#include "decoding/code_bits.h"
#include "decoding/duration_classes.h"
#include "decoding/durations.h"
#include "decoding/frame_classes.h"
#include "decoding/rc6.h"

// Everything is computed in 64 bits: for durations whose sums and doublings fit in 32 bits the
// results are those of 32-bit arithmetic, and longer durations (a bad tick length setting) can
// no longer overflow.

namespace {

// Pauses from this position on may end the frame; the first ones belong to the header and the
// first bits, which may be long.
constexpr int32_t kFirstFrameGapPosition = 11;
constexpr int32_t kFrameGapMicroseconds = 10200;

bool IsRepeatableKind(KeyCode code) {
    const uint8_t kind = CodingKindOf(code) & 3;
    return kind == CodingPulseDistance || kind == CodingPulseLength;
}

// The frame ends at the first pause from position 11 on that is longer than the frame gap; a
// repeated copy behind it is ignored. count is odd; the result is odd too.
int32_t FrameEnd(const int32_t* durations, int32_t count) {
    int32_t x = kFirstFrameGapPosition;
    // Four pauses at a time while none of them is longer, with one branch for the four.
    for (; x + 6 < count; x += 8) {
        const int32_t* d = durations + x;
        if (std::max(std::max(d[0], d[2]), std::max(d[4], d[6])) > kFrameGapMicroseconds)
            break;
    }
    for (; x < count; x += 2) {
        if (durations[x] > kFrameGapMicroseconds)
            return x;
    }
    return count;
}

// Removes every separator pause close to the given length together with the pulse before it,
// so that a frame split in two halves decodes like the same frame without the split. One pass:
// the kept durations move down in place.
int32_t RemoveSeparators(int32_t* durations, int32_t count, int64_t separator) {
    // The pauses d with CloseWithin(d, separator, 4): above separator - separator / 4 (d below
    // it) and up to the longest that the separator is close to (d above it).
    const int64_t above = separator - separator / 4;
    const int64_t upTo = LongestCloseTo(separator);
    int32_t kept = 3;
    for (int32_t x = 3; x < count; x += 2) {
        if (durations[x] > above && durations[x] <= upTo)
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

LengthPair PairOf(const ClassMeans& classes, int classCount) {
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

// One bit per value at values[0], values[2], ...: 1 when longer than the threshold, at most
// kMaxCodeBits of them, the first one most significant. The first and the second half are gathered
// apart, so that each bit waits for only every other one.
KeyCode BitsCode(const int32_t* values, int32_t available, int64_t threshold, CodingKind kind) {
    const int32_t n = std::min(available, kMaxCodeBits);
    const int32_t half = n / 2;
    uint64_t front = 0;
    uint64_t back = 0;
    for (int32_t k = 0; k < half; ++k) {
        front = 2 * front + static_cast<uint64_t>(values[2 * k] > threshold);
        back = 2 * back + static_cast<uint64_t>(values[2 * (half + k)] > threshold);
    }
    if (n % 2 != 0)
        back = 2 * back + static_cast<uint64_t>(values[2 * (n - 1)] > threshold);
    CodeBits bits;
    bits.data = (front << (n - half)) | back;
    bits.count = n;
    return bits.Code(kind);
}

// One bit per pause that is followed by a pulse.
KeyCode PulseDistanceCode(const int32_t* durations, int32_t count, int64_t threshold) {
    return BitsCode(durations + 1, count / 2, threshold, CodingPulseDistance);
}

// One bit per pulse, the last one included.
KeyCode PulseLengthCode(const int32_t* durations, int32_t count, int64_t threshold) {
    return BitsCode(durations, (count + 1) / 2, threshold, CodingPulseLength);
}

// Both entry points; endMayBeCut: the burst filled the receiver's buffer.
KeyCode Decode(int32_t* durations, int32_t count, KeyCode previousCode, bool endMayBeCut) {
    if (durations == nullptr || count <= 2)
        return 0;
    // The train always ends with a pulse: a final pause is dropped.
    int32_t c = count % 2 == 0 ? count - 1 : count;
    if (c == 3 || c == 5) {
        // A repeat frame: only codes that a held button resends this way are repeated.
        return AllAboveZero(durations, c) && IsRepeatableKind(previousCode) ? previousCode : 0;
    }
    // Odd and above 5 here, so at least 7 durations. RC-6 frames are told apart first; every
    // other train goes through the three codings below exactly as before.
    KeyCode rc6 = 0;
    if (BeginsWithRc6Leader(durations) && DecodeRc6(durations, c, endMayBeCut, rc6))
        return rc6;
    c = FrameEnd(durations, c);
    ClassMeans pulses;
    ClassMeans pauses;
    if (!ClassifyFrame(durations, c, pulses, pauses))
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

} // namespace

KeyCode DecodePulseTrain(int32_t* durations, int32_t count, KeyCode previousCode) {
    return Decode(durations, count, previousCode, false);
}

KeyCode DecodeFullBufferTrain(int32_t* durations, int32_t count, KeyCode previousCode) {
    return Decode(durations, count, previousCode, true);
}
