#pragma once
#include <cstdint>

// The host passes a record whose 32-bit word at byte offset 28 is its version. Accepted: bits
// 31..16 equal 0x0207 and bits 15..8 are 12 or more; bits 7..0 are not examined.
constexpr int kHostVersionOffset = 28;
inline constexpr bool IsCompatibleHostVersion(uint32_t version) {
    return (version >> 16) == 0x0207 && ((version >> 8) & 0xFF) >= 12;
}
