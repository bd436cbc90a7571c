#pragma once
// The decoder and the raw signature builder as they were before they were
// made fast: plain, linear and easy to check by eye. Kept only here, as the reference that the
// differential tests and the benchmarks compare the product's versions with.
#include <cstdint>

#include "decoding/key_code.h"

namespace reference {

KeyCode DecodePulseTrain(int32_t* durations, int32_t count, KeyCode previousCode);
int32_t BuildRawSignature(const int32_t* durations, int32_t count, uint8_t* out);

} // namespace reference
