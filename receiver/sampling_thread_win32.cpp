#include "receiver/sampling_thread_win32.h"

#include "config/settings.h"
#include "plugin/thread_join_win32.h"
#include "receiver/driver_binding_win32.h"
#include "receiver/receiver.h"

std::atomic<int32_t> DeviceStatus{1};
std::atomic<int32_t> LastDeviceStatus{1};

HANDLE SamplingThread = nullptr;
DWORD SamplingThreadId = 0;
std::atomic<int32_t> SamplingStop{0};

namespace {

DWORD WINAPI SamplingThreadBody(LPVOID) {
    static uint8_t sampleBuffer[kSampleBufferSize];
    while (SamplingStop.load(std::memory_order_acquire) == 0) {
        int32_t byteCount = 0;
        DeviceStatus.store(DoGetInfraCode(sampleBuffer, 0, &byteCount));
        Sleep(static_cast<DWORD>(Settings.PollInterval.load(std::memory_order_relaxed)));
    }
    return 0;
}

} // namespace

bool StartSampling() {
    if (!DriverModule)
        return false;
    RawArmed.store(1);
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
    if (SamplingThread) {
        SamplingStop.store(1, std::memory_order_release);
        JoinThreadLettingSentMessagesThrough(SamplingThread);
        CloseHandle(SamplingThread);
        SamplingThread = nullptr;
    }
    if (DriverModule) {
        uint8_t output = 0;
        DoGetOutDataPort(&output);
        DoSetOutDataPort(output & 252);
    }
}
