#include "support/code_checks.h"

#include <algorithm>

bool IsWellFormedCode(KeyCode code) {
    if (code == 0)
        return true;
    const int kind = CodingKindOf(code);
    const int bits = BitCountOf(code);
    const uint64_t data = code & 0xFFFFFFFFFFFFull;
    if (kind < 1 || kind > 4 || bits < 1 || bits > 48 || (data >> bits) != 0)
        return false;
    // RC-6: start bit 1, three mode bits, the cleared trailer, 16 to 40 payload bits.
    if (kind == 4)
        return bits >= 21 && bits <= 45 && ((data >> (bits - 1)) & 1) == 1 && ((data >> (bits - 5)) & 1) == 0;
    return kind != 1 || (bits >= 4 && ((data >> (bits - 3)) & 1) == 0);
}

bool IsWellFormedSignature(const uint8_t* signature, int32_t length, int32_t count) {
    if (length == 0)
        return true;
    if (length < 0 || length > 1023)
        return false;
    const int pulses = signature[0] >> 4;
    const int pauses = signature[0] & 0xF;
    return pulses >= 1 && pulses <= 4 && pauses >= 1 && pauses <= 4 &&
           length == 1 + 2 * pulses + 2 * pauses + (count + 3) / 4;
}

bool NeighbourRatioCrossesTheLine(const std::vector<int32_t>& original,
                                  const std::vector<int32_t>& stretched) {
    for (size_t first = 0; first < 2; ++first) {
        std::vector<int32_t> a;
        std::vector<int32_t> b;
        for (size_t i = first; i < original.size(); i += 2) {
            a.push_back(original[i]);
            b.push_back(stretched[i]);
        }
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        for (size_t k = 0; k + 1 < a.size(); ++k) {
            if ((int64_t{a[k]} * 100 / a[k + 1] < 75) != (int64_t{b[k]} * 100 / b[k + 1] < 75))
                return true;
        }
    }
    return false;
}
