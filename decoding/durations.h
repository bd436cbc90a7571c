#pragma once
// Checks on received durations shared by the decoder and the raw signatures.
#include <algorithm>
#include <cstdint>

// A duration of 0 or below is no signal: it only comes from a bad tick length setting. Trains
// holding one are refused instead of giving odd classes, thresholds or a division by zero.
inline bool AllAboveZero(const int32_t* durations, int32_t count) {
    return std::all_of(durations, durations + count, [](int32_t d) { return d > 0; });
}
