#include "tests/watchdog/process_capture_win32.h"

#include <tlhelp32.h>

#include <algorithm>

namespace {

using QueryThreadFn = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
constexpr ULONG kThreadBasicInformation = 0;
constexpr ULONG kThreadQuerySetWin32StartAddress = 9;
constexpr uint32_t kTebStackBaseOffset = 4;

struct ThreadBasics {
    LONG exitStatus;
    void* teb;
    void* clientProcess;
    void* clientThread;
    ULONG_PTR affinity;
    LONG priority;
    LONG basePriority;
};

QueryThreadFn QueryThread() {
    return reinterpret_cast<QueryThreadFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread")));
}

uint32_t Address(const void* pointer) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

std::vector<ModuleImage> ListModules(DWORD processId) {
    std::vector<ModuleImage> modules;
    HANDLE snapshot = INVALID_HANDLE_VALUE;
    // A process that is loading or unloading a module right now can make the snapshot fail.
    for (int tries = 0; tries < 5 && snapshot == INVALID_HANDLE_VALUE; ++tries) {
        snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
        if (snapshot == INVALID_HANDLE_VALUE)
            Sleep(20);
    }
    if (snapshot == INVALID_HANDLE_VALUE)
        return modules;
    MODULEENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry))
        modules.push_back({entry.szModule, entry.szExePath, Address(entry.modBaseAddr), entry.modBaseSize});
    CloseHandle(snapshot);
    return modules;
}

std::vector<DWORD> ListThreads(DWORD processId) {
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    const bool self = processId == GetCurrentProcessId();
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == processId && !(self && entry.th32ThreadID == GetCurrentThreadId()))
            ids.push_back(entry.th32ThreadID);
    CloseHandle(snapshot);
    return ids;
}

// What can be learnt without stopping the thread: its start routine and where its stack ends.
uint32_t StackBase(HANDLE process, HANDLE thread, QueryThreadFn query, ThreadCapture* capture) {
    void* start = nullptr;
    if (query && query(thread, kThreadQuerySetWin32StartAddress, &start, sizeof start, nullptr) == 0)
        capture->start = Address(start);
    ThreadBasics basics = {};
    uint32_t base = 0;
    if (query && query(thread, kThreadBasicInformation, &basics, sizeof basics, nullptr) == 0)
        ReadMemory(process, Address(basics.teb) + kTebStackBaseOffset, &base, sizeof base);
    return base;
}

// Registers and stack of a suspended thread. Nothing here allocates.
void ReadSuspended(HANDLE process, HANDLE thread, uint32_t stackBase, ThreadCapture* capture) {
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_CONTROL | CONTEXT_INTEGER;
    if (!GetThreadContext(thread, &context)) {
        capture->error = "no context";
        return;
    }
    capture->eip = context.Eip;
    capture->esp = context.Esp;
    size_t words = capture->stack.size();
    if (stackBase > context.Esp)
        words = std::min<size_t>(words, (stackBase - context.Esp) / sizeof(uint32_t));
    // Whatever lies past the stack's end (an unknown base) is not readable: take what is.
    while (words > 0 && !ReadMemory(process, context.Esp, capture->stack.data(), words * sizeof(uint32_t)))
        words /= 2;
    capture->stack.resize(words);
    capture->read = true;
}

} // namespace

bool ReadMemory(HANDLE process, uint32_t address, void* out, size_t size) {
    SIZE_T got = 0;
    return ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<uintptr_t>(address)), out,
                             size, &got) &&
           got == size;
}

const ModuleImage* ProcessCapture::ModuleAt(uint32_t address) const {
    for (const ModuleImage& module : modules)
        if (module.Holds(address))
            return &module;
    return nullptr;
}

ProcessCapture CaptureProcess(HANDLE process, DWORD processId, bool freeze) {
    ProcessCapture capture;
    capture.modules = ListModules(processId);
    const std::vector<DWORD> ids = ListThreads(processId);
    const QueryThreadFn query = QueryThread();
    capture.threads.resize(ids.size());
    std::vector<HANDLE> handles(ids.size(), nullptr);
    std::vector<uint32_t> stackBases(ids.size(), 0);
    for (size_t i = 0; i < ids.size(); ++i) {
        ThreadCapture& thread = capture.threads[i];
        thread.id = ids[i];
        thread.stack.resize(kStackWords);
        handles[i] =
            OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_QUERY_INFORMATION, FALSE, ids[i]);
        if (handles[i] == nullptr)
            thread.error = "cannot open (ended?)";
        else
            stackBases[i] = StackBase(process, handles[i], query, &thread);
    }
    std::vector<bool> suspended(ids.size(), false);
    auto suspend = [&](size_t i) {
        const DWORD before = handles[i] != nullptr ? SuspendThread(handles[i]) : static_cast<DWORD>(-1);
        suspended[i] = before != static_cast<DWORD>(-1);
        if (suspended[i])
            capture.threads[i].suspendedBefore = before;
        else if (capture.threads[i].error == nullptr)
            capture.threads[i].error = "cannot suspend (ended?)";
    };
    if (freeze)
        for (size_t i = 0; i < ids.size(); ++i)
            suspend(i);
    for (size_t i = 0; i < ids.size(); ++i) {
        if (!freeze)
            suspend(i);
        if (suspended[i])
            ReadSuspended(process, handles[i], stackBases[i], &capture.threads[i]);
        if (suspended[i] && !freeze)
            ResumeThread(handles[i]);
        if (!capture.threads[i].read)
            capture.threads[i].stack.clear();
    }
    for (size_t i = 0; i < ids.size(); ++i) {
        if (handles[i] == nullptr)
            continue;
        FILETIME created, exited, kernel, user;
        if (GetThreadTimes(handles[i], &created, &exited, &kernel, &user)) {
            auto ticks = [](const FILETIME& t) {
                return static_cast<int64_t>(static_cast<uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime);
            };
            capture.threads[i].cpuUs = (ticks(kernel) + ticks(user)) / 10;
        }
        CloseHandle(handles[i]);
    }
    return capture;
}
