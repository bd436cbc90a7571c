#include "receiver/sampling_step.h"

#include <algorithm>

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

bool RepeatMayFollow(const SamplingState& state, const SettingsValues& settings, uint32_t now) {
    const uint32_t window =
        std::max(kShortestRepeatWindowMs, static_cast<uint32_t>(std::max(settings.WaitR, int32_t{0})));
    return state.handedOver && now - state.lastHandOff <= window;
}

// Publishes one hand-off. The code and the down flag are relaxed stores; the release store of
// SignalFresh that follows makes them, and in raw mode the signature, visible to the dispatcher,
// which takes the flag with acquire order before it reads the rest.
void HandOver(SamplingState& state, KeyCode code, uint32_t now, SamplingOutput& output) {
    SignalCode.store(code, std::memory_order_relaxed);
    SignalDown.store(1, std::memory_order_relaxed);
    SignalFresh.store(1, std::memory_order_release);
    state.handedOver = true;
    state.lastHandOff = now;
    output.SignalKey();
}

void HandOverDecoded(SamplingState& state, const SettingsValues& settings, uint32_t now, bool bufferFull,
                     SamplingOutput& output) {
    // Without a recent hand-off the decoder gets no previous code, so a repeat frame decodes to 0.
    const KeyCode previous = RepeatMayFollow(state, settings, now) ? state.previousCode : 0;
    const KeyCode code = output.Decode(state.train.durations, state.train.count, previous, bufferFull);
    state.previousCode = code;
    if (code != 0)
        HandOver(state, code, now, output);
}

void HandOverRaw(SamplingState& state, const SettingsValues& settings, uint32_t now, SamplingOutput& output) {
    const PulseTrain& train = state.train;
    const bool repeatFrame = IsRawRepeatFrame(train);
    if (repeatFrame) {
        if (!RepeatMayFollow(state, settings, now))
            return;
        // The button is still held even while the dispatcher is not ready for it.
        state.lastHandOff = now;
    }
    // Acquire: the dispatcher re-arms only after it has finished reading RawSignature.
    if (!RawArmed.load(std::memory_order_acquire))
        return;
    KeyCode code = kRawRepeatFrame;
    if (!repeatFrame) {
        const int32_t length = output.BuildRaw(train.durations, train.count, RawSignature);
        RawSignatureLength.store(length, std::memory_order_relaxed);
        if (length <= 0)
            return;
        code = kRawNewSignature;
    }
    RawArmed.store(0, std::memory_order_relaxed);
    HandOver(state, code, now, output);
}

void NoteLedsDriven(SamplingState& state, int8_t blinkMode) {
    state.ledLinesDriven |= LedPatternsFor(blinkMode).offAtStop;
}

} // namespace

uint8_t LedLinesOffAtStop(const SamplingState& state, int8_t blinkMode) {
    return state.ledLinesDriven | LedPatternsFor(blinkMode).offAtStop;
}

void SamplingStep(SamplingState& state, int32_t deviceStatus, int32_t byteCount,
                  std::atomic<int32_t>& lastDeviceStatus, const SettingsValues& settings, DataPort& port,
                  SamplingOutput& output, uint32_t now) {
    state.train.count = 0;
    const int32_t lastStatus = lastDeviceStatus.load(std::memory_order_relaxed);
    if (deviceStatus != lastStatus) {
        if (deviceStatus == kStatusOk && lastStatus == kStatusNoDevice) {
            ShowLedsAttached(port, settings.BlinkMode);
            NoteLedsDriven(state, settings.BlinkMode);
        }
        lastDeviceStatus.store(deviceStatus, std::memory_order_relaxed);
    }

    if (deviceStatus != kStatusOk || byteCount <= 0) {
        if (state.receptionShown) {
            state.receptionShown = false;
            ShowLedsReady(port, settings.BlinkMode);
            NoteLedsDriven(state, settings.BlinkMode);
        }
        return;
    }

    ConvertSamples(state.samples, byteCount, settings, state.train);
    const BufferFill fill = BufferFillOf(byteCount, settings);
    output.ShowTrain(state.train, fill);
    if (settings.RawMode)
        HandOverRaw(state, settings, now, output);
    else
        HandOverDecoded(state, settings, now, fill != BufferFill::Room, output);
    if (ShowLedsReceiving(port, settings.BlinkMode)) {
        state.receptionShown = true;
        NoteLedsDriven(state, settings.BlinkMode);
    }
}
