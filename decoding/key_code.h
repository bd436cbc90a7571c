#pragma once
// KeyCode: the 64-bit button code every part of the plug-in passes around.
//   bits 63..56 CodingKind (1 bi-phase, 2 pulse-distance, 3 pulse-length, 4 bi-phase RC-6)
//   bits 55..48 BitCount
//   bits 47..0  data bits, first received bit most significant; 0 = nothing recognised.
#include <cstdint>

using KeyCode = uint64_t;

enum CodingKind : uint8_t {
    CodingBiPhase = 1,
    CodingPulseDistance = 2,
    CodingPulseLength = 3,
    CodingBiPhaseRc6 = 4,
};

// Text form of a code: 16 upper-case hexadecimal digits.
constexpr int CodeDigits = 16;

inline constexpr uint8_t CodingKindOf(KeyCode code) {
    return static_cast<uint8_t>(code >> 56);
}
inline constexpr uint8_t BitCountOf(KeyCode code) {
    return static_cast<uint8_t>(code >> 48);
}

// Writes the 16 digits and a terminating zero into text (at least CodeDigits + 1 bytes).
void CodeText(KeyCode code, char* text);

// "Bi-phase coding (RC-5)", "Pulse-distance code", "Pulse-length code", "Bi-phase coding (RC-6)";
// "" for any other kind.
const char* CodingKindText(KeyCode code);
