#include "tests/watchdog/test_watchdog_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <utility>

#include "tests/watchdog/hang_report_win32.h"

namespace {

constexpr size_t kNotesKept = 12;
constexpr DWORD kFlushWaitMs = 2000;
constexpr UINT kExitHung = 3;

CRITICAL_SECTION g_lock;
bool g_installed = false;
unsigned g_limitMs = 0;
DWORD g_mainThread = 0;
HANDLE g_testStarted = nullptr; // auto-reset
HANDLE g_testEnded = nullptr;   // auto-reset
HANDLE g_programEnded = nullptr;
HANDLE g_watcher = nullptr;
std::string g_test;
ULONGLONG g_testBegan = 0;
std::deque<std::pair<ULONGLONG, std::string>> g_notes; // tick count, text

std::string Seconds(ULONGLONG ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(ms) / 1000.0);
    return text;
}

// The C runtime's buffer holds what GoogleTest printed last; a hung thread may hold its lock, so
// the flush gets a thread of its own and a bounded wait.
DWORD WINAPI FlushStdout(void*) {
    std::fflush(stdout);
    return 0;
}

HangFacts FactsNow() {
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    const char* name = std::max(std::strrchr(program, '\\'), std::strrchr(program, '/'));
    const ULONGLONG now = GetTickCount64();
    HangFacts facts;
    EnterCriticalSection(&g_lock);
    facts.program = std::string(name != nullptr ? name + 1 : program) + " (process " +
                    std::to_string(GetCurrentProcessId()) + "): test " + g_test + " has run for " +
                    Seconds(now - g_testBegan) + ", over its limit of " + Seconds(g_limitMs) + "; ended";
    if (!g_notes.empty())
        facts.activity = g_notes.back().second + ", since " + Seconds(now - g_notes.back().first) + " ago";
    for (const auto& [tick, text] : g_notes)
        facts.lastLines.push_back("-" + Seconds(now - tick) + "  " + text);
    LeaveCriticalSection(&g_lock);
    facts.mainThread = g_mainThread;
    return facts;
}

[[noreturn]] void Fire() {
    HANDLE flush = CreateThread(nullptr, 0, FlushStdout, nullptr, 0, nullptr);
    if (flush != nullptr) {
        WaitForSingleObject(flush, kFlushWaitMs);
        CloseHandle(flush);
    }
    const ProcessCapture capture = CaptureProcess(GetCurrentProcess(), GetCurrentProcessId(), false);
    WriteStdout("\n" + HangReport(GetCurrentProcess(), capture, FactsNow()));
    TerminateProcess(GetCurrentProcess(), kExitHung);
    ExitProcess(kExitHung);
}

DWORD WINAPI Watch(void*) {
    HANDLE wakes[] = {g_testStarted, g_programEnded};
    while (WaitForMultipleObjects(2, wakes, FALSE, INFINITE) == WAIT_OBJECT_0)
        if (WaitForSingleObject(g_testEnded, g_limitMs) == WAIT_TIMEOUT)
            Fire();
    return 0;
}

class WatchdogListener : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& test) override {
        EnterCriticalSection(&g_lock);
        g_test = std::string(test.test_suite_name()) + "." + test.name();
        g_testBegan = GetTickCount64();
        g_notes.clear();
        LeaveCriticalSection(&g_lock);
        SetEvent(g_testStarted);
    }
    void OnTestEnd(const testing::TestInfo&) override { SetEvent(g_testEnded); }
    // The program ends without a thread of ours left: nothing of the watchdog takes part in it.
    void OnTestProgramEnd(const testing::UnitTest&) override {
        SetEvent(g_programEnded);
        WaitForSingleObject(g_watcher, kFlushWaitMs);
    }
};

} // namespace

void InstallTestWatchdog(unsigned limitMs) {
    if (g_installed)
        return;
    g_installed = true;
    InitializeCriticalSection(&g_lock);
    char given[16] = "";
    const DWORD length = GetEnvironmentVariableA("ORVIK_TEST_LIMIT_MS", given, sizeof given);
    g_limitMs = length > 0 && length < sizeof given && std::atoi(given) > 0
                    ? static_cast<unsigned>(std::atoi(given))
                    : limitMs;
    g_mainThread = GetCurrentThreadId();
    g_testStarted = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    g_testEnded = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    g_programEnded = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    testing::UnitTest::GetInstance()->listeners().Append(new WatchdogListener);
    g_watcher = CreateThread(nullptr, 0, Watch, nullptr, 0, nullptr);
}

void WatchNote(const std::string& what) {
    if (!g_installed)
        return;
    EnterCriticalSection(&g_lock);
    g_notes.emplace_back(GetTickCount64(), what);
    if (g_notes.size() > kNotesKept)
        g_notes.pop_front();
    LeaveCriticalSection(&g_lock);
}
