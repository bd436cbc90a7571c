#pragma once
// The settings file and remote definition files that go beside the plug-in for a replay: the main
// job, the Wine tests and the latency benchmark all write them this way.
#include <cstdint>
#include <string>
#include <vector>

#include "decoding/key_code.h"

// Receiver model 0 at 85.33 us a tick, as the synthetic sample bytes are made.
struct ReplaySettings {
    int rawMode = 0;
    int wait1 = 300;
    int waitN = 100;
    int waitR = 200;
    // Holds a whole pulse-distance frame (67 sample bytes); the default 36 would cut it.
    int bufferSize = 128;
    int pollFreq = 50;
    int blinkMode = 1;
    int32_t scaler = 8533;
};
std::string SettingsFileText(const ReplaySettings& settings);

struct DefinedKey {
    KeyCode code;
    std::string name;
};
struct RawEntry {
    std::string key;
    std::string pattern;
};
// [Main] Name, the [Code] entries in order, and numbered [Raw] entries when there are any.
std::string DefinitionFileText(const std::string& remote, const std::vector<DefinedKey>& keys,
                               const std::vector<RawEntry>& raw = {});

std::string CodeTextOf(KeyCode code);
