#include "tools/latency_bench/bench_files.h"

#include <random>

#include "ir_synth.h"
#include "replay_files.h"

namespace {

constexpr int32_t kScaler = 8533;
constexpr int kPressPollFreq = 100;
// The release comes between WaitR and WaitR + min(WaitN, WaitR) ms after a frame (200 ms here);
// the next frame comes later, with a spread so that presses fall at every phase of whatever else
// runs periodically (the host's box watcher, Wine's timers).
constexpr int kFirstPressMs = 300;
constexpr int kPressSpacingMs = 300;
constexpr int kSpacingSpreadMs = 20;

constexpr uint8_t kNecAddress = 0x04;
constexpr uint8_t kNecCommand = 0x08;
constexpr uint8_t kRc5Address = 0x10;
constexpr uint8_t kRc5Command = 0x0D;

} // namespace

std::string BenchSettings(int pollFreq) {
    ReplaySettings settings;
    settings.waitR = 100;
    settings.bufferSize = 512;
    settings.pollFreq = pollFreq;
    settings.scaler = kScaler;
    return SettingsFileText(settings);
}

BenchFiles PressRun(int presses) {
    BenchFiles files;
    Jitter jitter;
    std::mt19937 spread(7);
    std::uniform_int_distribution<int> extraMs(0, kSpacingSpreadMs - 1);
    files.script = "wait " + std::to_string(kFirstPressMs) + "\n";
    files.scriptMs = kFirstPressMs;
    for (int i = 0; i < presses; ++i) {
        if (i % 2 == 0)
            files.script += SimSendStep(NecFrame(kNecAddress, kNecCommand, jitter), kScaler);
        else
            files.script += SimSendStep(Rc5Frame(kRc5Address, kRc5Command, i % 4 == 1, jitter), kScaler);
        const int waitMs = kPressSpacingMs + extraMs(spread);
        files.script += "wait " + std::to_string(waitMs) + "\n";
        files.scriptMs += waitMs;
    }
    files.settings = BenchSettings(kPressPollFreq);
    files.definitions = DefinitionFileText(
        "Bench", {{NecCode(kNecAddress, kNecCommand), "Power"}, {Rc5Code(kRc5Address, kRc5Command), "Mute"}});
    return files;
}
