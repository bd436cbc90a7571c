#pragma once
// Bi-phase (RC-5 style) bits of a train whose every duration is one or two half-bits long.
#include <cstdint>

#include "decoding/key_code.h"

struct BiPhaseTiming {
    int64_t shortPulse;
    int64_t longPulse;
    int64_t shortPause;
    int64_t longPause;
};

// Durations from position 0 (a pulse), all above 0. Returns the code, or 0 below 4 bits.
KeyCode DecodeBiPhase(const int32_t* durations, int32_t count, const BiPhaseTiming& timing);
