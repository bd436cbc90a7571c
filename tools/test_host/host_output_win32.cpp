#include "tools/test_host/host_output_win32.h"

#include <tlhelp32.h>

#include <cstdio>

namespace {

CRITICAL_SECTION g_outputLock;
LARGE_INTEGER g_origin;
LARGE_INTEGER g_frequency;
DWORD g_hostThread;

bool Readable(const void* address, size_t size) {
    const char* p = static_cast<const char*>(address);
    const char* end = p + size;
    while (p < end) {
        MEMORY_BASIC_INFORMATION info;
        if (VirtualQuery(p, &info, sizeof info) == 0 || info.State != MEM_COMMIT ||
            (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0)
            return false;
        p = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    }
    return true;
}

} // namespace

void InitHostOutput() {
    InitializeCriticalSection(&g_outputLock);
    QueryPerformanceFrequency(&g_frequency);
    QueryPerformanceCounter(&g_origin);
    g_hostThread = GetCurrentThreadId();
}

int64_t HostOrigin() {
    return g_origin.QuadPart;
}

EventLine NewEventAt(const char* kind, int64_t qpc) {
    double ms =
        static_cast<double>(qpc - g_origin.QuadPart) * 1000.0 / static_cast<double>(g_frequency.QuadPart);
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", ms);
    EventLine line(kind);
    line.Word("t", text);
    return line;
}

EventLine NewEvent(const char* kind) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return NewEventAt(kind, now.QuadPart);
}

void Emit(const EventLine& line) {
    EnterCriticalSection(&g_outputLock);
    std::fwrite(line.str().data(), 1, line.str().size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    LeaveCriticalSection(&g_outputLock);
}

const char* ThreadRole(DWORD threadId) {
    return threadId == g_hostThread ? "host" : "worker";
}

int CountProcessThreads() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ++count;
    CloseHandle(snapshot);
    return count;
}

int ForEachThreadStartedIn(HMODULE module, const ThreadVisitor& visit) {
    using QueryThread = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    constexpr int kThreadQuerySetWin32StartAddress = 9;
    auto query = reinterpret_cast<QueryThread>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread")));
    if (module == nullptr || query == nullptr)
        return -1;
    auto* base = reinterpret_cast<const uint8_t*>(module);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const uint8_t* end = base + nt->OptionalHeader.SizeOfImage;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != GetCurrentProcessId())
            continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        void* start = nullptr;
        if (thread != nullptr &&
            query(thread, kThreadQuerySetWin32StartAddress, &start, sizeof start, nullptr) == 0 &&
            start >= base && start < end) {
            ++count;
            if (visit)
                visit(entry.th32ThreadID, thread,
                      static_cast<uint32_t>(static_cast<const uint8_t*>(start) - base));
        }
        if (thread != nullptr)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return count;
}

int CountThreadsStartedIn(HMODULE module) {
    // Under Wine a thread that has been created but has not run yet reports no start address and
    // is missed; read until two readings 10 ms apart agree.
    int count = ForEachThreadStartedIn(module, nullptr);
    for (int tries = 0; tries < 20; ++tries) {
        Sleep(10);
        const int again = ForEachThreadStartedIn(module, nullptr);
        if (again == count)
            break;
        count = again;
    }
    return count;
}

void EmitThreadTimes(HMODULE module) {
    auto microseconds = [](const FILETIME& time) {
        return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime) /
                                    10);
    };
    ForEachThreadStartedIn(module, [&](DWORD id, HANDLE thread, uint32_t startOffset) {
        EventLine line = NewEvent("thread-cpu");
        line.Int("id", id).Hex("start", startOffset).Int("priority", GetThreadPriority(thread));
        FILETIME created;
        FILETIME exited;
        FILETIME kernel;
        FILETIME user;
        if (GetThreadTimes(thread, &created, &exited, &kernel, &user))
            line.Int("kernel_us", microseconds(kernel)).Int("user_us", microseconds(user));
        else
            line.Int("error", GetLastError());
        Emit(line);
    });
}

bool ReadForeignBytes(const void* address, void* out, size_t size) {
    if (address == nullptr || !Readable(address, size))
        return false;
    CopyMemory(out, address, size);
    return true;
}

std::string ReadForeignText(const void* address, size_t max, bool* ok) {
    std::string text;
    *ok = address != nullptr;
    const char* p = static_cast<const char*>(address);
    for (size_t i = 0; *ok && i < max; ++i) {
        // Readability changes only at page boundaries.
        bool pageStart = (reinterpret_cast<uintptr_t>(p + i) & 0xFFF) == 0;
        if ((i == 0 || pageStart) && !Readable(p + i, 1)) {
            *ok = false;
            break;
        }
        if (p[i] == '\0')
            break;
        text.push_back(p[i]);
    }
    return text;
}
