#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

// Status of the last DoGetInfraCode call (0 OK, 1 no device, 2 no data) and of the one before;
// both 1 after load and kept across Start and Stop.
extern std::atomic<int32_t> DeviceStatus;
extern std::atomic<int32_t> LastDeviceStatus;

extern HANDLE SamplingThread;
extern DWORD SamplingThreadId;
extern std::atomic<int32_t> SamplingStop;

// False when no driver is bound or the thread cannot be created.
bool StartSampling();
// Ends the thread (unbounded join) and switches LED lines D0 and D1 off.
void StopSampling();
