#pragma once
// Receiver and timing settings shared by the sampling thread, the dispatch thread and the dialog.
#include <atomic>
#include <cstdint>
#include <string>

class IniDocument;

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
