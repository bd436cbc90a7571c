#pragma once
// The RC-6 rules of the decoder written out once more, plainly and apart from the product's code:
// the train becomes a list of half-bit levels, which is then read against the frame's layout. The
// differential tests and the fuzz target compare the product with it.
#include <cstdint>
#include <optional>

#include "decoding/key_code.h"

namespace reference {

// The RC-6 reading of durations[0..count) (count odd): nothing when it is no RC-6 frame (also a
// frame followed by its silence that is not whole), else its code, 0 for a frame that runs to the
// end of the train and is not whole.
std::optional<KeyCode> DecodeRc6(const int32_t* durations, int32_t count);

// The decoder as it is: a train of 7 durations or more that is an RC-6 frame gives its RC-6 code,
// every other train what DecodePulseTrain (the written codings) gives.
KeyCode DecodeWithRc6(int32_t* durations, int32_t count, KeyCode previousCode);

} // namespace reference
