#pragma once
// Hand-made pulse trains of the three codings, built from bit strings such as "10110010".
// Shared by the decoder tests, the fuzz seeds and the benchmarks.
#include <cstdint>
#include <string>
#include <vector>

using Durations = std::vector<int32_t>;

// Pulse-distance: optional header (pulse, pause), then per bit a pulse and a zero or one pause,
// then a final pulse.
Durations PulseDistanceTrain(const Durations& header, const std::string& bits, int32_t pulse = 560,
                             int32_t zeroPause = 560, int32_t onePause = 1690);

// Pulse-length: a leading pulse, then per bit a pause and a zero or one pulse.
Durations PulseLengthTrain(int32_t leadingPulse, const std::string& bits, int32_t pause = 600,
                           int32_t zeroPulse = 600, int32_t onePulse = 1200);

// Bi-phase with half-bit length t: a 1 is low then high, a 0 high then low. The low half before
// the first pulse and a final low half are not part of the train. bits must start with 1.
Durations BiPhaseTrain(const std::string& bits, int32_t t = 889);

// RC-6 with unit t: a leader of 6 units mark and 2 units pause, the start bit 1, the three mode bits,
// the trailer (toggle) with halves of two units, then the payload bits; a 1 is mark then pause.
// The pause after the last mark is not part of the train.
Durations Rc6Train(int mode, bool toggle, const std::string& payload, int32_t t = 444);

// Every duration multiplied by numerator / denominator, rounded to the nearest microsecond.
Durations Stretched(const Durations& durations, int64_t numerator, int64_t denominator);

// The count low bits of value as a bit string, most significant first.
std::string BitsOf(uint64_t value, int count);

Durations Joined(const Durations& first, const Durations& second);
