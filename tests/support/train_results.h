#pragma once
// The decoder and the raw signature builder applied to a train held in a vector.
#include <string>

#include "decoding/key_code.h"
#include "support/ir_trains.h"

// Decodes a copy, so the caller's train stays as it was.
KeyCode DecodeCopy(Durations train, KeyCode previous);

// Text form of the train's raw signature, "" when it gives none.
std::string SignatureTextOf(const Durations& train);
