#pragma once
// Assembling a KeyCode from received bits, first bit most significant.
#include <cstdint>

#include "decoding/key_code.h"

constexpr int kMaxCodeBits = 48;

struct CodeBits {
    uint64_t data = 0;
    int count = 0;

    bool Full() const { return count >= kMaxCodeBits; }
    void Push(bool bit) {
        data = (data << 1) | (bit ? 1u : 0u);
        ++count;
    }
    KeyCode Code(CodingKind kind) const {
        return (static_cast<KeyCode>(kind) << 56) | (static_cast<KeyCode>(count) << 48) | data;
    }
};
