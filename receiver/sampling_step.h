#pragma once
// One poll of the sampling thread, after its driver call: receiver presence, conversion, the
// dialog's copy, decoding or raw signature, the hand-off to the dispatcher and the LEDs. The Win32
// thread routine owns a SamplingState, calls the driver into its samples, calls SamplingStep and
// sleeps; everything it decides is here.
#include <cstdint>

#include "config/settings.h"
#include "decoding/key_code.h"
#include "receiver/data_port.h"
#include "receiver/receiver.h"
#include "receiver/sample_conversion.h"

// What the thread routine provides to a poll.
class SamplingOutput {
  public:
    virtual ~SamplingOutput() = default;
    // Hands the fresh train to the configuration dialog (CopyPulseTrain) when one exists, and how
    // much of the buffer its burst filled (the dialog says when a burst was cut). Called before
    // decoding, which may rearrange the durations.
    virtual void ShowTrain(const PulseTrain& train, BufferFill fill) = 0;
    // DecodePulseTrain, or DecodeFullBufferTrain when the burst filled the buffer and so may end in
    // the middle of a frame.
    virtual KeyCode Decode(int32_t* durations, int32_t count, KeyCode previousCode, bool bufferFull) = 0;
    // BuildRawSignature; out is RawSignature.
    virtual int32_t BuildRaw(const int32_t* durations, int32_t count, uint8_t* out) = 0;
    // Signals KeySignal; called after the hand-off state has been published.
    virtual void SignalKey() = 0;
};

// The thread's own storage, reset at every thread start.
struct SamplingState {
    uint8_t samples[kSampleBufferSize] = {}; // SampleBuffer: the driver writes here
    PulseTrain train{};
    KeyCode previousCode = 0;    // handed to the decoder for repeat frames
    bool receptionShown = false; // the reception LED pattern is on
    uint8_t ledLinesDriven = 0;  // offAtStop lines of every scheme that wrote the port since the start
    bool handedOver = false;     // a hand-off was made in this run
    uint32_t lastHandOff = 0;    // tick of the last hand-off (or raw repeat frame)
};

// A repeat frame names no button of its own: it repeats the last hand-off only within the longer
// of WaitR and this many milliseconds of it. Later it is a frame without a code, or a button
// whose own first frame was lost would be reported as the one released long ago.
constexpr uint32_t kShortestRepeatWindowMs = 500;

// deviceStatus and byteCount are what DoGetInfraCode returned for state.samples; lastDeviceStatus
// is the module-wide LastDeviceStatus, updated here. settings is read once per poll; now is the
// system's millisecond tick count.
void SamplingStep(SamplingState& state, int32_t deviceStatus, int32_t byteCount,
                  std::atomic<int32_t>& lastDeviceStatus, const SettingsValues& settings, DataPort& port,
                  SamplingOutput& output, uint32_t now);

// The LED lines Stop switches off once the thread has ended: those of every scheme that drove the
// port since the start, and those of the scheme in force now. The user may have changed the scheme
// in the dialog meanwhile, and a lamp the old scheme lit would otherwise stay lit for good.
uint8_t LedLinesOffAtStop(const SamplingState& state, int8_t blinkMode);
