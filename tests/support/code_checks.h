#pragma once
// Shape checks on decoder and raw signature results, shared by the real-capture tests and the
// fuzz harness.
#include <cstdint>
#include <vector>

#include "decoding/key_code.h"

// 0, or kind 1 to 3 with 1 to 48 bits (bi-phase: at least 4, toggle bit clear) and nothing above
// the data bits.
bool IsWellFormedCode(KeyCode code);

// A signature of length bytes built from count durations: 0, or a header of 1 to 4 classes per
// kind and exactly the length that header and count give.
bool IsWellFormedSignature(const uint8_t* signature, int32_t length, int32_t count);

// True when some pair of neighbours in sorted order, among the pulses or among the pauses, lies on
// different sides of the 75 % class line in the two trains. The second must be a stretched copy of
// the first (same length, same order).
bool NeighbourRatioCrossesTheLine(const std::vector<int32_t>& original,
                                  const std::vector<int32_t>& stretched);
