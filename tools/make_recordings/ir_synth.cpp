#include "ir_synth.h"

#include <algorithm>

namespace {

constexpr int32_t kRc5HalfBit = 889;
constexpr int32_t kNecHeaderPulse = 9000;
constexpr int32_t kNecHeaderPause = 4500;
constexpr int32_t kNecRepeatPause = 2250;
constexpr int32_t kNecPulse = 560;
constexpr int32_t kNecZeroPause = 560;
constexpr int32_t kNecOnePause = 1690;

int32_t Jittered(int32_t duration, bool pulse, Jitter& jitter) {
    std::uniform_int_distribution<int> spread(-jitter.spreadPercent, jitter.spreadPercent);
    int32_t value = duration + duration * spread(jitter.random) / 100;
    value += pulse ? jitter.markStretch : -jitter.markStretch;
    return std::max<int32_t>(value, 1);
}

// Turns a level sequence (1 = carrier) into alternating durations, pulse first.
std::vector<int32_t> LevelsToDurations(const std::vector<int>& levels, int32_t unit, Jitter& jitter) {
    std::vector<int32_t> durations;
    size_t i = 0;
    while (i < levels.size() && levels[i] == 0)
        ++i; // the train starts with the first pulse
    size_t end = levels.size();
    while (end > i && levels[end - 1] == 0)
        --end; // and ends with the last one
    while (i < end) {
        const int level = levels[i];
        int32_t run = 0;
        while (i < end && levels[i] == level) {
            run += unit;
            ++i;
        }
        durations.push_back(Jittered(run, level == 1, jitter));
    }
    return durations;
}

uint32_t NecBits(uint8_t address, uint8_t command) {
    // Sent least significant bit first: as a number read first bit first, each byte is reversed.
    auto reversed = [](uint8_t b) {
        uint8_t r = 0;
        for (int i = 0; i < 8; ++i)
            if (b & (1 << i))
                r |= static_cast<uint8_t>(0x80 >> i);
        return static_cast<uint32_t>(r);
    };
    return reversed(address) << 24 | reversed(static_cast<uint8_t>(~address)) << 16 | reversed(command) << 8 |
           reversed(static_cast<uint8_t>(~command));
}

} // namespace

std::vector<int32_t> Rc5Frame(uint8_t address, uint8_t command, bool toggle, Jitter& jitter) {
    const uint32_t bits =
        1u << 13 | 1u << 12 | (toggle ? 1u : 0u) << 11 | (address & 0x1Fu) << 6 | (command & 0x3Fu);
    std::vector<int> levels;
    for (int i = 13; i >= 0; --i) {
        const bool one = (bits >> i) & 1;
        levels.push_back(one ? 0 : 1); // a one rises in the middle of its bit
        levels.push_back(one ? 1 : 0);
    }
    return LevelsToDurations(levels, kRc5HalfBit, jitter);
}

KeyCode Rc5Code(uint8_t address, uint8_t command) {
    const KeyCode data = 1u << 13 | 1u << 12 | (address & 0x1Fu) << 6 | (command & 0x3Fu);
    return KeyCode{CodingBiPhase} << 56 | KeyCode{14} << 48 | data;
}

std::vector<int32_t> NecFrame(uint8_t address, uint8_t command, Jitter& jitter) {
    std::vector<int32_t> d{Jittered(kNecHeaderPulse, true, jitter), Jittered(kNecHeaderPause, false, jitter)};
    const uint32_t bits = NecBits(address, command);
    for (int i = 31; i >= 0; --i) {
        d.push_back(Jittered(kNecPulse, true, jitter));
        d.push_back(Jittered((bits >> i) & 1 ? kNecOnePause : kNecZeroPause, false, jitter));
    }
    d.push_back(Jittered(kNecPulse, true, jitter));
    return d;
}

std::vector<int32_t> NecRepeat(Jitter& jitter) {
    return {Jittered(kNecHeaderPulse, true, jitter), Jittered(kNecRepeatPause, false, jitter),
            Jittered(kNecPulse, true, jitter)};
}

KeyCode NecCode(uint8_t address, uint8_t command) {
    return KeyCode{CodingPulseDistance} << 56 | KeyCode{32} << 48 | NecBits(address, command);
}

std::vector<uint8_t> ToModel0Bytes(const std::vector<int32_t>& durations, int32_t scaler) {
    std::vector<uint8_t> bytes;
    bytes.reserve(durations.size());
    for (int32_t us : durations) {
        const int64_t ticks = (static_cast<int64_t>(us) * 100 + scaler / 2) / scaler;
        bytes.push_back(static_cast<uint8_t>(std::clamp<int64_t>(ticks, 3, 255)));
    }
    return bytes;
}

std::string SimSendStep(const std::vector<int32_t>& durations, int32_t scaler) {
    std::string step = "send";
    for (uint8_t b : ToModel0Bytes(durations, scaler))
        step += " " + std::to_string(b);
    return step + "\n";
}
