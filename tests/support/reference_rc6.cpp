#include "support/reference_rc6.h"

#include <vector>

#include "support/reference_decoding.h"

namespace reference {
namespace {

// Half-bit units: the start bit and the mode bits take two each, the trailer four, payload bits two.
int BitStart(int bit) {
    return bit <= 4 ? 2 * bit : 12 + 2 * (bit - 5);
}
int BitEnd(int bit) {
    return BitStart(bit + 1);
}

// Units of a duration: with the unit u = (leader mark + leader pause) / 8 and the leader's stretch
// s = leader mark - 6u, a mark counts as d - s and a pause as d + s; k units when that is within
// [k - 1/2, k + 1/2) units for k = 1, 2, 3. A pause of 5.5 units or more ends the frame (0);
// anything else is no RC-6 (-1). Everything is multiplied by 16, so it stays in integers.
int UnitsOf(int64_t d, bool mark, int64_t leaderMark, int64_t leaderPause) {
    const int64_t eightUnits = leaderMark + leaderPause;
    const int64_t sixteenStretch = 16 * leaderMark - 12 * eightUnits;
    const int64_t sixteenD = 16 * d + (mark ? -sixteenStretch : sixteenStretch);
    if (!mark && sixteenD >= 11 * eightUnits)
        return 0;
    for (int k = 1; k <= 3; ++k) {
        // 16 × (k ± 1/2) units = (2k ± 1) × eightUnits
        if (sixteenD >= (2 * k - 1) * eightUnits && sixteenD < (2 * k + 1) * eightUnits)
            return k;
    }
    return -1;
}

} // namespace

std::optional<KeyCode> DecodeRc6(const int32_t* durations, int32_t count) {
    if (count < 3 || durations[0] <= 0 || durations[1] <= 0)
        return std::nullopt;
    const int64_t mark = durations[0];
    const int64_t pause = durations[1];
    // The leader mark within half a unit of 6 units: |16 mark - 12 (mark + pause)| < mark + pause.
    const int64_t off = 16 * mark - 12 * (mark + pause);
    if ((off < 0 ? -off : off) >= mark + pause)
        return std::nullopt;

    std::vector<int> levels; // 1 mark, 0 pause, one per half-bit unit after the leader
    bool silenceFollows = false;
    for (int32_t i = 2; i < count; ++i) {
        const int units = UnitsOf(durations[i], i % 2 == 0, mark, pause);
        if (units == 0) {
            silenceFollows = true;
            break;
        }
        if (units < 0)
            return std::nullopt;
        levels.insert(levels.end(), static_cast<size_t>(units), i % 2 == 0 ? 1 : 0);
    }
    // The silence after the last mark fills the bit it ends in.
    int bitCount = 0;
    while (BitStart(bitCount) < static_cast<int>(levels.size()))
        ++bitCount;
    levels.resize(static_cast<size_t>(BitStart(bitCount)), 0);

    std::vector<bool> bits;
    for (int bit = 0; bit < bitCount; ++bit) {
        const int a = BitStart(bit);
        const int half = (BitEnd(bit) - a) / 2;
        for (int k = 1; k < half; ++k) {
            if (levels[a + k] != levels[a] || levels[a + half + k] != levels[a + half])
                return std::nullopt;
        }
        if (levels[a] == levels[a + half])
            return std::nullopt;
        bits.push_back(levels[a] == 1);
    }

    // Not whole: another kind of frame when its silence follows it in the train, else cut short.
    const std::optional<KeyCode> notWhole = silenceFollows ? std::nullopt : std::optional<KeyCode>(0);
    const int payload = bitCount - 5;
    if (payload < 16 || payload > 40 || payload % 4 != 0)
        return notWhole;
    const int mode = bits[1] * 4 + bits[2] * 2 + bits[3];
    if (mode == 0 && payload != 16)
        return notWhole;
    bits[4] = false; // the trailer: the toggle
    uint32_t customer = 0;
    for (int k = 0; k < 16; ++k)
        customer = customer * 2 + bits[5 + k];
    if (mode == 6 && payload == 32 && customer == 0x800F)
        bits[5 + 16] = false; // the media-center toggle: payload bit 15 of 0..31
    KeyCode code = KeyCode{4} << 56 | KeyCode(bitCount) << 48;
    for (int k = 0; k < bitCount; ++k)
        code |= KeyCode{bits[k]} << (bitCount - 1 - k);
    return code;
}

KeyCode DecodeWithRc6(int32_t* durations, int32_t count, KeyCode previousCode) {
    const int32_t odd = count % 2 == 0 ? count - 1 : count;
    if (durations != nullptr && odd >= 7) {
        if (const std::optional<KeyCode> code = DecodeRc6(durations, odd))
            return *code;
    }
    return DecodePulseTrain(durations, count, previousCode);
}

} // namespace reference
