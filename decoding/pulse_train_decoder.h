#pragma once
#include <cstdint>

#include "decoding/key_code.h"

// Turns one burst (durations in microseconds, pulse first) into a KeyCode, the previous code for a
// repeat frame, or 0. May rearrange and shorten the durations in place. No allocation, no shared state.
KeyCode DecodePulseTrain(int32_t* durations, int32_t count, KeyCode previousCode);

// The same for a burst that filled the receiver's buffer, so that the train may end in the middle
// of a frame: an RC-6 frame that runs to the end of the train gives 0 (cut at a whole length, it
// would read as a shorter frame, often another button's); every other train decodes as above.
KeyCode DecodeFullBufferTrain(int32_t* durations, int32_t count, KeyCode previousCode);
