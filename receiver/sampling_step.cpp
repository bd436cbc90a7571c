#include "receiver/sampling_step.h"

#include "receiver/led_patterns.h"
#include "receiver/sample_conversion.h"

namespace {

constexpr int32_t kStatusOk = 0;
constexpr int32_t kStatusNoDevice = 1;
// SignalCode of a raw-mode repeat frame (a train of 3 or 5 durations); 0 means a new signature.
constexpr KeyCode kRawRepeatFrame = 1;
constexpr KeyCode kRawNewSignature = 0;

bool IsRawRepeatFrame(const PulseTrain& train) {
    return train.count == 3 || train.count == 5;
}

// Publishes one hand-off. The code and the down flag are relaxed stores; the release store of
// SignalFresh that follows makes them, and in raw mode the signature, visible to the dispatcher,
// which takes the flag with acquire order before it reads the rest.
void HandOver(KeyCode code) {
    SignalCode.store(code, std::memory_order_relaxed);
    SignalDown.store(1, std::memory_order_relaxed);
    SignalFresh.store(1, std::memory_order_release);
}

void HandOverDecoded(SamplingState& state, SamplingOutput& output) {
    const KeyCode code = output.Decode(state.train.durations, state.train.count, state.previousCode);
    state.previousCode = code;
    if (code == 0)
        return;
    HandOver(code);
    output.SignalKey();
}

void HandOverRaw(const PulseTrain& train, SamplingOutput& output) {
    // Acquire: the dispatcher re-arms only after it has finished reading RawSignature.
    if (!RawArmed.load(std::memory_order_acquire))
        return;
    KeyCode code = kRawRepeatFrame;
    if (!IsRawRepeatFrame(train)) {
        const int32_t length = output.BuildRaw(train.durations, train.count, RawSignature);
        RawSignatureLength.store(length, std::memory_order_relaxed);
        if (length <= 0)
            return;
        code = kRawNewSignature;
    }
    RawArmed.store(0, std::memory_order_relaxed);
    HandOver(code);
    output.SignalKey();
}

} // namespace

void SamplingStep(SamplingState& state, int32_t deviceStatus, int32_t byteCount,
                  std::atomic<int32_t>& lastDeviceStatus, const SettingsValues& settings, DataPort& port,
                  SamplingOutput& output) {
    state.train.count = 0;
    const int32_t lastStatus = lastDeviceStatus.load(std::memory_order_relaxed);
    if (deviceStatus != lastStatus) {
        if (deviceStatus == kStatusOk && lastStatus == kStatusNoDevice)
            ShowLedsAttached(port, settings.BlinkMode);
        lastDeviceStatus.store(deviceStatus, std::memory_order_relaxed);
    }

    if (deviceStatus != kStatusOk || byteCount <= 0) {
        if (state.receptionShown) {
            state.receptionShown = false;
            ShowLedsReady(port, settings.BlinkMode);
        }
        return;
    }

    ConvertSamples(state.samples, byteCount, settings, state.train);
    output.ShowTrain(state.train);
    if (settings.RawMode)
        HandOverRaw(state.train, output);
    else
        HandOverDecoded(state, output);
    if (ShowLedsReceiving(port, settings.BlinkMode))
        state.receptionShown = true;
}
