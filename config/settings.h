#pragma once
// Receiver and timing settings shared by the sampling thread, the dispatch thread and the dialog.
#include <atomic>
#include <cstdint>
#include <string>

class IniDocument;

// The smallest values the dialog's controls can set. The files keep whatever they hold, but at use
// a hand-edited value below these counts as them, as the dialog shows it: a WaitN of 0 would send
// a repeat at every pass (about one a millisecond), a BufferSize of 0 would take no sample at all.
constexpr int32_t kShortestWaitMs = 50;
constexpr int32_t kSmallestBufferSize = 11;

// The receiver tick lengths the dialog offers, in hundredths of a microsecond.
constexpr int32_t kScalerUnit1 = 8533; // "85.33 мкс"
constexpr int32_t kScalerUnit2 = 2133; // "21.33 мкс"

// A plain copy of the settings, for the file reader and writer and for tests.
struct SettingsValues {
    bool RawMode = false;
    int32_t Wait1 = 300;
    int32_t WaitN = 100;
    int32_t WaitR = 200;
    int8_t Mode = 0;
    int32_t Scaler = 8533;
    int32_t BufferSize = 36;
    int32_t PollInterval = 20;
    int8_t BlinkMode = 1;
};

// The live settings. Each field is one byte or one aligned word, written whole by the dialog's
// thread and read afresh by the worker threads at each use; relaxed atomics say exactly that.
struct SettingsStore {
    std::atomic<bool> RawMode{false};
    std::atomic<int32_t> Wait1{300};
    std::atomic<int32_t> WaitN{100};
    std::atomic<int32_t> WaitR{200};
    std::atomic<int8_t> Mode{0};
    std::atomic<int32_t> Scaler{8533};
    std::atomic<int32_t> BufferSize{36};
    std::atomic<int32_t> PollInterval{20};
    std::atomic<int8_t> BlinkMode{1};

    SettingsValues Snapshot() const;
    void Assign(const SettingsValues& values);
};

extern SettingsStore Settings;
