#pragma once
// Shape checks on decoder and raw signature results, shared by the real-capture tests and the
// fuzz harness.
#include <cstdint>

#include "decoding/key_code.h"

// 0, or kind 1 to 3 with 1 to 48 bits (bi-phase: at least 4, toggle bit clear) and nothing above
// the data bits.
bool IsWellFormedCode(KeyCode code);

// A signature of length bytes built from count durations: 0, or a header of 1 to 4 classes per
// kind and exactly the length that header and count give.
bool IsWellFormedSignature(const uint8_t* signature, int32_t length, int32_t count);
