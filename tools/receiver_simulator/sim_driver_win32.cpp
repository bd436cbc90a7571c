// OrvikUSB.dll stand-in: the five driver functions answer from a script and from a simulated data
// port, and every call is counted and logged so that tests can see what the plug-in did.
// The exports are listed in the .def files; the four-export variant leaves one out.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "tools/receiver_simulator/sim_control.h"
#include "tools/receiver_simulator/sim_script.h"

namespace {

// The sampling thread and the host's thread call in at the same time; the lock keeps the script,
// the log and the thread list consistent. It is never held across a call out of this module.
SRWLOCK g_lock = SRWLOCK_INIT;
constexpr int kMaxMessagesPerPoll = 8;
bool g_scriptLoaded = false;
SimScript g_script;
SimTimeline* g_timeline = nullptr;
char g_scriptError[sizeof(SimState::scriptError)] = "";

std::atomic<int32_t> g_calls[kSimCallKinds];
std::atomic<int32_t> g_output{0};
std::atomic<int32_t> g_direction{0};
std::atomic<int32_t> g_outputGetterStatus{0};
std::atomic<int32_t> g_directionGetterStatus{0};
std::atomic<int32_t> g_threadAttaches{0};
std::atomic<int32_t> g_threadDetaches{0};
std::atomic<int32_t> g_portDelayMs{0}; // the script's portdelay, as of the last poll

// Distinct callers of DoGetInfraCode; a count beyond the list's capacity stays at the capacity.
DWORD g_infraThreads[4096];
int32_t g_infraThreadCount = 0;
int32_t g_handedOver = 0;
SimLogEntry g_log[kSimLogCapacity];
int32_t g_logTotal = 0;

struct Locked {
    Locked() { AcquireSRWLockExclusive(&g_lock); }
    ~Locked() { ReleaseSRWLockExclusive(&g_lock); }
};

int64_t Qpc() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t QpcToMicroseconds(int64_t qpc) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    int64_t f = frequency.QuadPart;
    return qpc / f * 1000000 + qpc % f * 1000000 / f;
}

void BumpEnvironmentCount(const char* name) {
    char text[32] = "";
    GetEnvironmentVariableA(name, text, static_cast<DWORD>(std::size(text)));
    std::snprintf(text, std::size(text), "%ld", std::strtol(text, nullptr, 10) + 1);
    SetEnvironmentVariableA(name, text);
}

void Log(int32_t kind, int32_t value, int32_t status, int32_t count) {
    g_log[g_logTotal % kSimLogCapacity] =
        SimLogEntry{Qpc(), kind, value, status, count, GetCurrentThreadId()};
    ++g_logTotal;
}

// Caller holds the lock.
bool InstallScript(const std::string& text) {
    SimScript parsed;
    std::string error;
    bool ok = ParseSimScript(text, &parsed, &error);
    std::snprintf(g_scriptError, std::size(g_scriptError), "%s", ok ? "" : error.c_str());
    delete g_timeline;
    g_script = ok ? std::move(parsed) : SimScript{};
    g_timeline = new SimTimeline(&g_script);
    return ok;
}

bool ReadFileText(const char* path, std::string* text) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, static_cast<DWORD>(std::size(chunk)), &got, nullptr) && got > 0)
        text->append(chunk, got);
    CloseHandle(file);
    return true;
}

// Caller holds the lock. The script is read at the first call rather than in DllMain, which
// must not do file work.
void EnsureScript() {
    if (g_scriptLoaded)
        return;
    g_scriptLoaded = true;
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA(kSimScriptFileVar, path, static_cast<DWORD>(std::size(path)));
    if (n > 0 && n < std::size(path)) {
        std::string text;
        bool readable = ReadFileText(path, &text);
        InstallScript(text);
        if (!readable)
            std::snprintf(g_scriptError, std::size(g_scriptError), "cannot read script file %s", path);
        return;
    }
    n = GetEnvironmentVariableA(kSimScriptVar, nullptr, 0);
    std::string text(n, '\0');
    if (n > 0)
        text.resize(GetEnvironmentVariableA(kSimScriptVar, text.data(), n));
    InstallScript(text);
}

void NoteInfraThread() {
    DWORD self = GetCurrentThreadId();
    // The count never passes the list's capacity, so the scan stays inside the list. (A count
    // that went on past it made the scan read past the list; the compiler, free to assume it did
    // not, turned the guard below into "count != capacity", and the 121st thread wrote over the
    // timeline pointer.)
    for (int32_t i = 0; i < g_infraThreadCount; ++i)
        if (g_infraThreads[i] == self)
            return;
    if (g_infraThreadCount < static_cast<int32_t>(std::size(g_infraThreads)))
        g_infraThreads[g_infraThreadCount++] = self;
}

// One USB transfer per port call, when the script asks for it; outside the lock, so that the other
// thread's calls go on meanwhile, as they would with a real receiver.
void PortCallDelay() {
    const int32_t delay = g_portDelayMs.load();
    if (delay > 0)
        Sleep(static_cast<DWORD>(delay));
}

int32_t GetPortByte(SimCall call, const std::atomic<int32_t>& status, const std::atomic<int32_t>& value,
                    uint8_t* byte) {
    ++g_calls[call];
    PortCallDelay();
    int32_t answer = status.load();
    // A failing getter leaves the caller's byte alone, as the real driver does.
    if (answer == 0 && byte != nullptr)
        *byte = static_cast<uint8_t>(value.load());
    return answer;
}

void SetPortByte(SimCall call, SimLogKind kind, std::atomic<int32_t>& value, int32_t byte) {
    ++g_calls[call];
    PortCallDelay();
    Locked lock;
    value = byte & 0xFF;
    Log(kind, byte & 0xFF, 0, 0);
}

// Answers one poll from the script; collects the host messages that fell due.
int32_t AnswerPoll(int64_t now, uint8_t* buffer, int32_t* count, uint32_t* messages, int* messageCount) {
    Locked lock;
    EnsureScript();
    NoteInfraThread();
    SimAnswer answer = g_timeline->Poll(QpcToMicroseconds(now));
    g_portDelayMs.store(g_timeline->PortDelayMs());
    if (answer.batch >= 0) {
        const std::vector<uint8_t>& bytes = g_script.batches[static_cast<size_t>(answer.batch)].bytes;
        if (buffer != nullptr && !bytes.empty())
            std::memcpy(buffer, bytes.data(), bytes.size());
        ++g_handedOver;
        Log(kSimLogHandOver, answer.batch, answer.status, answer.count);
    }
    if (count != nullptr)
        *count = answer.count;
    while (*messageCount < kMaxMessagesPerPoll && g_timeline->TakeHostMessage(&messages[*messageCount]))
        ++*messageCount;
    return answer.status;
}

// Sends the script's host messages from the polling thread, outside the lock: the send blocks
// until the host's thread handles it.
void SendHostMessages(const uint32_t* messages, int count) {
    char text[32] = "";
    GetEnvironmentVariableA(kSimHostWindowVar, text, static_cast<DWORD>(std::size(text)));
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoul(text, nullptr, 16)));
    for (int i = 0; i < count; ++i) {
        LRESULT result = window != nullptr ? SendMessageA(window, messages[i], 0, 0) : 0;
        Locked lock;
        Log(kSimLogHostMessage, static_cast<int32_t>(messages[i]), static_cast<int32_t>(result), 0);
    }
}

} // namespace

extern "C" {

int32_t WINAPI DoGetInfraCode(uint8_t* buffer, int32_t, int32_t* count) {
    ++g_calls[kSimGetInfraCode];
    int64_t now = Qpc();
    uint32_t messages[kMaxMessagesPerPoll];
    int messageCount = 0;
    int32_t status = AnswerPoll(now, buffer, count, messages, &messageCount);
    SendHostMessages(messages, messageCount);
    return status;
}

int32_t WINAPI DoSetDataPortDirection(int32_t byte) {
    SetPortByte(kSimSetDirection, kSimLogDirectionWrite, g_direction, byte);
    return 0;
}

int32_t WINAPI DoGetDataPortDirection(uint8_t* byte) {
    return GetPortByte(kSimGetDirection, g_directionGetterStatus, g_direction, byte);
}

int32_t WINAPI DoSetOutDataPort(int32_t byte) {
    SetPortByte(kSimSetOutput, kSimLogOutputWrite, g_output, byte);
    return 0;
}

int32_t WINAPI DoGetOutDataPort(uint8_t* byte) {
    return GetPortByte(kSimGetOutput, g_outputGetterStatus, g_output, byte);
}

int32_t WINAPI SimSetScript(const char* text, char* error, int32_t errorSize) {
    Locked lock;
    g_scriptLoaded = true;
    bool ok = InstallScript(text != nullptr ? text : "");
    if (error != nullptr && errorSize > 0)
        std::snprintf(error, static_cast<size_t>(errorSize), "%s", g_scriptError);
    return ok ? 0 : 1;
}

void WINAPI SimGetState(SimState* state) {
    Locked lock;
    EnsureScript();
    for (int i = 0; i < kSimCallKinds; ++i)
        state->calls[i] = g_calls[i];
    state->output = g_output;
    state->direction = g_direction;
    state->outputGetterStatus = g_outputGetterStatus;
    state->directionGetterStatus = g_directionGetterStatus;
    state->threadAttaches = g_threadAttaches;
    state->threadDetaches = g_threadDetaches;
    state->infraThreads = g_infraThreadCount;
    state->batchesHandedOver = g_handedOver;
    state->batchesDropped = static_cast<int32_t>(g_timeline->Dropped());
    state->scriptFinished = g_timeline->Finished() ? 1 : 0;
    state->logEntries = g_logTotal;
    std::snprintf(state->scriptError, std::size(state->scriptError), "%s", g_scriptError);
}

void WINAPI SimSetPort(int32_t output, int32_t direction) {
    g_output = output & 0xFF;
    g_direction = direction & 0xFF;
}

void WINAPI SimSetGetterStatus(int32_t outputStatus, int32_t directionStatus) {
    g_outputGetterStatus = outputStatus;
    g_directionGetterStatus = directionStatus;
}

int32_t WINAPI SimCopyLog(SimLogEntry* entries, int32_t capacity, int32_t* firstIndex) {
    Locked lock;
    int32_t first = g_logTotal > kSimLogCapacity ? g_logTotal - kSimLogCapacity : 0;
    if (firstIndex != nullptr)
        *firstIndex = first;
    int32_t copied = 0;
    for (int32_t i = first; i < g_logTotal && copied < capacity; ++i)
        entries[copied++] = g_log[i % kSimLogCapacity];
    return copied;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        BumpEnvironmentCount(kSimAttachesVar);
        break;
    case DLL_PROCESS_DETACH:
        BumpEnvironmentCount(kSimDetachesVar);
        break;
    case DLL_THREAD_ATTACH:
        ++g_threadAttaches;
        break;
    case DLL_THREAD_DETACH:
        ++g_threadDetaches;
        break;
    }
    return TRUE;
}

} // extern "C"
