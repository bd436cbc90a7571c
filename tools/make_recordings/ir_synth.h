#pragma once
// Synthetic infrared bursts of real protocols, with the timing faults of a real receiver, for
// the main job's replay and the end-to-end tests. Durations in microseconds, pulse first.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "decoding/key_code.h"

// Deterministic jitter: every duration is scaled by a random factor within +-spreadPercent, and
// pulses come out longer than sent by markStretch microseconds (pauses shorter by as much), as
// demodulating receivers do.
struct Jitter {
    std::mt19937 random{12345};
    int spreadPercent = 4;
    int markStretch = 40;
};

// Bi-phase frame of 14 bits: two start bits, toggle, 5 address bits, 6 command bits, T = 889 us.
std::vector<int32_t> Rc5Frame(uint8_t address, uint8_t command, bool toggle, Jitter& jitter);
// The code the plug-in gives for that frame (toggle bit masked).
KeyCode Rc5Code(uint8_t address, uint8_t command);

// Pulse-distance frame: 9000/4500 header, address, inverted address, command, inverted command,
// least significant bit first, 560 us pulses, 560 or 1690 us pauses, final pulse.
std::vector<int32_t> NecFrame(uint8_t address, uint8_t command, Jitter& jitter);
// Its repeat frame: 9000, 2250, 560.
std::vector<int32_t> NecRepeat(Jitter& jitter);
KeyCode NecCode(uint8_t address, uint8_t command);

// One sample byte per duration as a model-0 receiver delivers them: ticks of scaler/100 us,
// rounded, at least 3 and at most 255.
std::vector<uint8_t> ToModel0Bytes(const std::vector<int32_t>& durations, int32_t scaler);

// The receiver simulator's script line that hands those bytes over in one batch.
std::string SimSendStep(const std::vector<int32_t>& durations, int32_t scaler);
