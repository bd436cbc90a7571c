#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

// Status of the last DoGetInfraCode call (0 OK, 1 no device, 2 no data) and of the one before;
// both 1 after load. StartSampling sets LastDeviceStatus to 1, so that a receiver attached
// throughout shows the ready LED again after every Start.
extern std::atomic<int32_t> DeviceStatus;
extern std::atomic<int32_t> LastDeviceStatus;

extern HANDLE SamplingThread;
extern DWORD SamplingThreadId;
extern std::atomic<int32_t> SamplingStop;

// Clears the hand-off state and starts the thread. False when no driver is bound or the thread
// cannot be created.
bool StartSampling();
// Ends the thread (unbounded join) and switches off the LED lines D0 and D1 that BlinkMode drives.
void StopSampling();
