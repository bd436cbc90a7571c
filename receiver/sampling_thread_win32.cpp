#include "receiver/sampling_thread_win32.h"

#include "config/settings.h"
#include "decoding/pulse_train_decoder.h"
#include "decoding/raw_signature.h"
#include "plugin/plugin_win32.h"
#include "plugin/thread_join_win32.h"
#include "receiver/driver_binding_win32.h"
#include "receiver/led_patterns.h"
#include "receiver/receiver.h"
#include "receiver/sampling_step.h"
#include "setup_dialog/setup_form_win32.h"

std::atomic<int32_t> DeviceStatus{1};
std::atomic<int32_t> LastDeviceStatus{1};

HANDLE SamplingThread = nullptr;
DWORD SamplingThreadId = 0;
std::atomic<int32_t> SamplingStop{0};

namespace {

class ThreadSamplingOutput final : public SamplingOutput {
  public:
    void ShowTrain(const PulseTrain& train, BufferFill fill) override {
        // Setup creates the dialog before it starts the threads and destroys it only after
        // stopping them, so a non-null form stays valid for this whole poll.
        if (TSetupForm* form = CurrentSetupForm()) {
            form->CopyPulseTrain(train.durations, train.count);
            form->NoteBufferFill(fill);
        }
    }
    KeyCode Decode(int32_t* durations, int32_t count, KeyCode previousCode, bool bufferFull) override {
        return bufferFull ? DecodeFullBufferTrain(durations, count, previousCode)
                          : DecodePulseTrain(durations, count, previousCode);
    }
    int32_t BuildRaw(const int32_t* durations, int32_t count, uint8_t* out) override {
        return BuildRawSignature(durations, count, out);
    }
    void SignalKey() override { SetEvent(KeySignal); }
};

// The thread's storage: one thread at a time, reset at every start, nothing allocated per poll.
SamplingState ThreadState;

DWORD WINAPI SamplingThreadBody(LPVOID) {
    ThreadState = SamplingState{};
    ThreadSamplingOutput output;
    DriverDataPort port;
    while (SamplingStop.load(std::memory_order_acquire) == 0) {
        int32_t byteCount = 0;
        const int32_t status = DoGetInfraCode(ThreadState.samples, 0, &byteCount);
        DeviceStatus.store(status);
        const SettingsValues settings = Settings.Snapshot();
        SamplingStep(ThreadState, status, byteCount, LastDeviceStatus, settings, port, output,
                     GetTickCount());
        Sleep(static_cast<DWORD>(settings.PollInterval > 0 ? settings.PollInterval : 0));
    }
    return 0;
}

} // namespace

bool StartSampling() {
    if (!DriverModule)
        return false;
    // A hand-off still pending from the last run would be reported as a press nobody made; it
    // also still owns RawSignature. Both threads are stopped here, so nothing races these stores.
    SignalFresh.store(0);
    SignalDown.store(0);
    SignalCode.store(0);
    RawArmed.store(1);
    // The first poll that finds the receiver counts as its attach, so the ready LED comes back.
    LastDeviceStatus.store(1);
    SamplingStop.store(0);
    SamplingThread =
        CreateThread(nullptr, 0, SamplingThreadBody, nullptr, CREATE_SUSPENDED, &SamplingThreadId);
    if (!SamplingThread)
        return false;
    SetThreadPriority(SamplingThread, THREAD_PRIORITY_TIME_CRITICAL);
    ResumeThread(SamplingThread);
    return true;
}

void StopSampling() {
    // Cleared before the join: a message let through by it may lead to another StopSampling,
    // which must not join or close this handle a second time.
    const HANDLE thread = SamplingThread;
    SamplingThread = nullptr;
    if (thread) {
        SamplingStop.store(1, std::memory_order_release);
        JoinThreadLettingSentMessagesThrough(thread);
        CloseHandle(thread);
    }
    if (DriverModule) {
        DriverDataPort port;
        SwitchLedsOff(port,
                      LedLinesOffAtStop(ThreadState, Settings.BlinkMode.load(std::memory_order_relaxed)));
    }
}
