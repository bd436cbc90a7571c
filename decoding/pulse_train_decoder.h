#pragma once
#include <cstdint>

#include "decoding/key_code.h"

// Turns one burst (durations in microseconds, pulse first) into a KeyCode, the previous code for a
// repeat frame, or 0. May rearrange and shorten the durations in place. No allocation, no shared state.
KeyCode DecodePulseTrain(int32_t* durations, int32_t count, KeyCode previousCode);
