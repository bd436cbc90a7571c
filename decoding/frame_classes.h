#pragma once
// The duration classes of one frame, for the decoder.
#include <cstdint>

#include "decoding/duration_classes.h"

// Checks that positions 0 to end - 1 (end odd, at least 7) are all above 0 and gives the classes
// that DurationClasses builds from positions 2, 4, ... (pulses) and 3, 5, ... (pauses): the leading
// pulse and pause are often a header. Returns false when a duration is 0 or below.
bool ClassifyFrame(const int32_t* durations, int32_t end, ClassMeans& pulses, ClassMeans& pauses);
