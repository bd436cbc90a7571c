#include "tools/test_host/bare_poller_win32.h"

#include <windows.h>

#include <atomic>

#include "tools/test_host/host_output_win32.h"

namespace {

using DoGetInfraCodeFn = int32_t(__stdcall*)(uint8_t* buffer, int32_t zero, int32_t* count);

struct BarePoller {
    HANDLE thread = nullptr;
    DWORD id = 0;
    DoGetInfraCodeFn getInfraCode = nullptr;
    DWORD sleepMs = 0;
    std::atomic<bool> stop{false};
};

BarePoller g_poller;

DWORD WINAPI PollLoop(LPVOID) {
    uint8_t samples[512];
    while (!g_poller.stop.load()) {
        int32_t count = 0;
        g_poller.getInfraCode(samples, 0, &count);
        Sleep(g_poller.sleepMs);
    }
    return 0;
}

} // namespace

bool SetBarePoller(int64_t pollsPerSecond) {
    if (g_poller.thread != nullptr) {
        g_poller.stop.store(true);
        WaitForSingleObject(g_poller.thread, INFINITE);
        CloseHandle(g_poller.thread);
        g_poller.thread = nullptr;
    }
    if (pollsPerSecond <= 0)
        return true;
    // The same library the plug-in binds: the host's driver folder is on the search path.
    HMODULE driver = LoadLibraryA("OrvikUSB.dll");
    if (driver == nullptr)
        return false;
    g_poller.getInfraCode =
        reinterpret_cast<DoGetInfraCodeFn>(reinterpret_cast<void*>(GetProcAddress(driver, "DoGetInfraCode")));
    if (g_poller.getInfraCode == nullptr)
        return false;
    // As the plug-in's poll interval: 1000 / polls a second, in whole milliseconds.
    g_poller.sleepMs = static_cast<DWORD>(1000 / pollsPerSecond);
    g_poller.stop.store(false);
    g_poller.thread = CreateThread(nullptr, 0, PollLoop, nullptr, CREATE_SUSPENDED, &g_poller.id);
    if (g_poller.thread == nullptr)
        return false;
    SetThreadPriority(g_poller.thread, THREAD_PRIORITY_TIME_CRITICAL);
    ResumeThread(g_poller.thread);
    return true;
}

void EmitBarePollerTimes() {
    if (g_poller.thread == nullptr)
        return;
    auto microseconds = [](const FILETIME& time) {
        return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime) /
                                    10);
    };
    EventLine line = NewEvent("thread-cpu");
    line.Int("id", g_poller.id)
        .Text("who", "bare-poller")
        .Int("priority", GetThreadPriority(g_poller.thread));
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    if (GetThreadTimes(g_poller.thread, &created, &exited, &kernel, &user))
        line.Int("kernel_us", microseconds(kernel)).Int("user_us", microseconds(user));
    else
        line.Int("error", GetLastError());
    Emit(line);
}
