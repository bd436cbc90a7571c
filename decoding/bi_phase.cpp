#include "decoding/bi_phase.h"

#include <iterator>

#include "decoding/code_bits.h"

namespace {

constexpr int kMinBiPhaseBits = 4;
// Position of the toggle bit among the received bits (the third), masked so that the alternating
// toggle of RC-5 does not make two presses of one button look like two buttons.
constexpr int kToggleBitPosition = 3;

struct HalfBits {
    uint8_t levels[2 * kMaxCodeBits] = {};
    int size = 0;

    void Append(uint8_t level, int times) {
        for (int k = 0; k < times && size < static_cast<int>(std::size(levels)); ++k)
            levels[size++] = level;
    }
    bool Full() const { return size >= static_cast<int>(std::size(levels)); }
};

} // namespace

KeyCode DecodeBiPhase(const int32_t* durations, int32_t count, const BiPhaseTiming& timing) {
    const int64_t pulseThreshold = (timing.shortPulse + timing.longPulse) / 2;
    const int64_t pauseThreshold = (timing.shortPause + timing.longPause) / 2;

    // The pause before the first pulse is not part of the train but is the first half-bit.
    HalfBits halves;
    halves.Append(0, 1);
    for (int32_t i = 0; i < count && !halves.Full(); ++i) {
        const bool pulse = i % 2 == 0;
        const int64_t threshold = pulse ? pulseThreshold : pauseThreshold;
        halves.Append(pulse ? 1 : 0, durations[i] > threshold ? 2 : 1);
    }
    if (halves.size % 2 != 0)
        halves.Append(0, 1);

    const int bitCount = halves.size / 2;
    if (bitCount < kMinBiPhaseBits)
        return 0;
    CodeBits bits;
    for (int k = 0; k < bitCount; ++k) {
        // A rise in the middle of the bit is a 1; every other pair counts as 0, none is rejected.
        bits.Push(halves.levels[2 * k] == 0 && halves.levels[2 * k + 1] == 1);
    }
    bits.data &= ~(uint64_t{1} << (bitCount - kToggleBitPosition));
    return bits.Code(CodingBiPhase);
}
