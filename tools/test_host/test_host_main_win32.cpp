// test_host.exe: plays a host of OrvikPlug.dll. It loads the plug-in, calls its exports in the
// order given on the command line and prints one line per event (README.md).
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/host_records.h"
#include "tools/test_host/bare_poller_win32.h"
#include "tools/test_host/box_watcher_win32.h"
#include "tools/test_host/shell_recorder_win32.h"
#include "tools/test_host/host_output_win32.h"
#include "tools/test_host/host_steps.h"
#include "tools/test_host/host_window_win32.h"
#include "tools/test_host/setup_closer_win32.h"
#include "tools/test_host/sim_link_win32.h"
#include "tools/test_host/step_watch.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitNoPlugin = 3;
constexpr int kExitTimeout = 124;
// The version word lies at this offset of the host's information record.
constexpr size_t kHostInfoVersionOffset = 28;
constexpr size_t kHostInfoSize = 64;

using OpenFn = const char*(WINAPI*)(const char*, HWND, const void*);
using VoidFn = void(WINAPI*)();
using ActionFn = void(WINAPI*)(const ActionParams*, uint32_t);

struct Plugin {
    HMODULE module = nullptr;
    OpenFn open = nullptr;
    VoidFn close = nullptr;
    VoidFn start = nullptr;
    VoidFn stop = nullptr;
    VoidFn setup = nullptr;
    ActionFn action = nullptr;
    void* const* setupForm = nullptr;
};

HWND g_window;
Plugin g_plugin;
std::optional<uint32_t> g_version;
std::atomic<int> g_currentStep{-1};
HANDLE g_finished;
StepWatch g_watch;
// An export of the plug-in is running on this thread; the nested calls run only then, once each.
bool g_inExport = false;
bool g_nestedDone = false;
std::vector<StepKind> g_nestedCalls;

uint32_t SetupFormValue() {
    return g_plugin.setupForm != nullptr
               ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(*g_plugin.setupForm))
               : 0;
}

DWORD WINAPI Watchdog(void* timeoutMs) {
    if (WaitForSingleObject(g_finished, static_cast<DWORD>(reinterpret_cast<uintptr_t>(timeoutMs))) ==
        WAIT_TIMEOUT) {
        Emit(NewEvent("timeout").Int("step", g_currentStep.load()));
        TerminateProcess(GetCurrentProcess(), kExitTimeout);
    }
    return 0;
}

void NoteStepBegins(int index, const std::string& verb) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    lstrcpynA(g_watch.verb, verb.c_str(), sizeof g_watch.verb);
    g_watch.began = now.QuadPart;
    InterlockedExchange(reinterpret_cast<volatile LONG*>(&g_watch.step), index);
}

// The step "hang": a host that never returns from a step, for the watchdog's own test.
__attribute__((noinline)) void HangForever() {
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    WaitForSingleObject(never, INFINITE);
}

template <typename Fn> Fn Resolve(const char* name, std::string* missing) {
    FARPROC proc = GetProcAddress(g_plugin.module, name);
    if (proc == nullptr)
        *missing += std::string(missing->empty() ? "" : ",") + name;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}

bool LoadPlugin(const std::string& path) {
    g_plugin.module = LoadLibraryA(path.c_str());
    if (g_plugin.module == nullptr) {
        Emit(NewEvent("load").Int("ok", 0).Int("error", GetLastError()).Text("path", path));
        return false;
    }
    std::string missing;
    g_plugin.open = Resolve<OpenFn>("Open", &missing);
    g_plugin.close = Resolve<VoidFn>("Close", &missing);
    g_plugin.start = Resolve<VoidFn>("Start", &missing);
    g_plugin.stop = Resolve<VoidFn>("Stop", &missing);
    g_plugin.setup = Resolve<VoidFn>("Setup", &missing);
    g_plugin.action = Resolve<ActionFn>("ActionManual", &missing);
    g_plugin.setupForm = Resolve<void* const*>("_SetupForm", &missing);
    bool hooked = HookMessageBox(g_plugin.module);
    bool shellHooked = HookShellExecute(g_plugin.module);
    EventLine line = NewEvent("load");
    line.Int("ok", 1).Text("path", path).Int("hook", hooked ? 1 : 0).Int("shellhook", shellHooked ? 1 : 0);
    line.Hex("setupform", SetupFormValue());
    if (!missing.empty())
        line.Text("missing", missing);
    Emit(line);
    return true;
}

double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// Calls one export and adds how long it took; a missing export is reported, not called.
template <typename Call> bool CallPlugin(EventLine& line, bool present, Call call) {
    if (!present) {
        line.Word("error", "missing-export");
        return false;
    }
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    g_inExport = true;
    call();
    g_inExport = false;
    char ms[32];
    std::snprintf(ms, sizeof ms, "%.3f", MillisecondsSince(start));
    line.Word("ms", ms);
    return true;
}

// A handler of the host that calls the plug-in again while it is inside one of its exports (its
// join let the message through). Prints a "nested" line per call.
void CallNested() {
    if (!g_inExport || g_nestedDone)
        return;
    g_nestedDone = true;
    for (StepKind kind : g_nestedCalls) {
        EventLine line = NewEvent("nested");
        VoidFn call = kind == StepKind::Stop    ? g_plugin.stop
                      : kind == StepKind::Start ? g_plugin.start
                      : kind == StepKind::Setup ? g_plugin.setup
                                                : g_plugin.close;
        line.Word("do", kind == StepKind::Stop    ? "stop"
                        : kind == StepKind::Start ? "start"
                        : kind == StepKind::Setup ? "setup"
                                                  : "close");
        CallPlugin(line, call != nullptr, [&] { call(); });
        g_inExport = true; // still inside the outer export
        line.Int("plugin_threads", CountThreadsStartedIn(g_plugin.module));
        Emit(line);
    }
}

void RunOpen(const Step& step, EventLine& line) {
    // Copies that the host spoils after the call: the plug-in must keep neither pointer.
    std::vector<char> name;
    if (step.text)
        name.assign(step.text->c_str(), step.text->c_str() + step.text->size() + 1);
    uint8_t info[kHostInfoSize] = {};
    if (g_version)
        std::memcpy(info + kHostInfoVersionOffset, &*g_version, sizeof(uint32_t));
    if (step.text)
        line.Text("name", *step.text);
    else
        line.Int("null_name", 1);
    if (g_version)
        line.Hex("version", *g_version);
    else
        line.Word("version", "null");
    const char* result = nullptr;
    if (CallPlugin(line, g_plugin.open != nullptr, [&] {
            result =
                g_plugin.open(name.empty() ? nullptr : name.data(), g_window, g_version ? info : nullptr);
        })) {
        bool ok = false;
        std::string text = ReadForeignText(result, 256, &ok);
        if (ok)
            line.Text("result", text);
        else
            line.Hex("result_ptr", static_cast<uint32_t>(reinterpret_cast<uintptr_t>(result)));
    }
    std::fill(name.begin(), name.end(), '#');
    std::memset(info, 0xCC, sizeof info);
}

void RunAction(const Step& step, EventLine& line) {
    ActionParams params = {};
    params.count = step.count ? *step.count : static_cast<int32_t>(step.args.size());
    for (size_t i = 0; i < step.args.size() && i < std::size(params.value); ++i) {
        const ActionArg& arg = step.args[i];
        params.isNumber[i] = arg.isNumber ? 1 : 0;
        params.value[i] = arg.isNumber ? arg.number
                          : arg.nullText
                              ? 0
                              : static_cast<uint32_t>(reinterpret_cast<uintptr_t>(arg.text.c_str()));
    }
    line.Int("id", static_cast<uint32_t>(step.a)).Int("count", params.count);
    CallPlugin(line, g_plugin.action != nullptr,
               [&] { g_plugin.action(&params, static_cast<uint32_t>(step.a)); });
}

void RunSetup(const Step& step, EventLine& line) {
    HANDLE closer = StartSetupCloser(g_window, g_plugin.module, g_plugin.setupForm, step.a);
    CallPlugin(line, g_plugin.setup != nullptr, [&] { g_plugin.setup(); });
    if (closer != nullptr) {
        // The closer ends right after the dialog has gone; the thread count below should not
        // include it.
        WaitForSingleObject(closer, 5000);
        CloseHandle(closer);
    }
    line.Hex("setupform", SetupFormValue());
}

void RunSimStep(const Step& step, EventLine& line) {
    bool loaded = true;
    std::string error;
    switch (step.kind) {
    case StepKind::Sim:
        EmitSimState();
        break;
    case StepKind::SimLog:
        EmitSimLog();
        break;
    case StepKind::SimPort:
        loaded = SetSimPort(step.a, step.b);
        break;
    case StepKind::SimFail:
        loaded = SetSimGetterStatus(step.a, step.b);
        break;
    default:
        if (!SetSimScript(*step.text, &error))
            line.Text("error", error);
        break;
    }
    if (!loaded)
        line.Word("error", "simulator-not-loaded");
}

// Runs one step and returns its line, which is printed after the step's own events.
EventLine RunStep(const Step& step, int index) {
    EventLine line = NewEvent("step");
    line.Int("i", index).Word("do", step.verb);
    bool plugInCall = true;
    switch (step.kind) {
    case StepKind::Open:
        RunOpen(step, line);
        break;
    case StepKind::Close:
        CallPlugin(line, g_plugin.close != nullptr, [] { g_plugin.close(); });
        break;
    case StepKind::Start:
        CallPlugin(line, g_plugin.start != nullptr, [] { g_plugin.start(); });
        break;
    case StepKind::Stop:
        CallPlugin(line, g_plugin.stop != nullptr, [] { g_plugin.stop(); });
        break;
    case StepKind::Setup:
        RunSetup(step, line);
        break;
    case StepKind::Action:
        RunAction(step, line);
        break;
    case StepKind::ActionNull:
        line.Int("id", static_cast<uint32_t>(step.a));
        CallPlugin(line, g_plugin.action != nullptr,
                   [&] { g_plugin.action(nullptr, static_cast<uint32_t>(step.a)); });
        break;
    default:
        plugInCall = false;
        break;
    }
    switch (step.kind) {
    case StepKind::HostVersion:
        g_version = step.version;
        break;
    case StepKind::Wait:
        PumpFor(step.a);
        break;
    case StepKind::Sleep:
        Sleep(static_cast<DWORD>(step.a));
        break;
    case StepKind::QueueStatus:
        line.Hex("status", GetQueueStatus(QS_ALLINPUT));
        break;
    case StepKind::Peek: {
        MSG msg;
        line.Int("found", PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) ? 1 : 0);
        break;
    }
    case StepKind::Mark:
        line.Text("text", *step.text);
        break;
    case StepKind::ThreadCpu:
        EmitThreadTimes(g_plugin.module);
        EmitBarePollerTimes();
        break;
    case StepKind::BarePoller:
        line.Int("ok", SetBarePoller(step.a) ? 1 : 0);
        break;
    case StepKind::Hang:
        HangForever();
        break;
    case StepKind::Sim:
    case StepKind::SimPort:
    case StepKind::SimFail:
    case StepKind::SimScript:
    case StepKind::SimLog:
        RunSimStep(step, line);
        break;
    default:
        break;
    }
    // Messages the plug-in posted during its call belong right after it.
    if (plugInCall)
        DrainMessages();
    line.Int("threads", CountProcessThreads()).Int("plugin_threads", CountThreadsStartedIn(g_plugin.module));
    return line;
}

} // namespace

int main(int argc, char** argv) {
    InitHostOutput();
    HostOptions options;
    std::string error;
    if (!ParseHostCommandLine(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
        Emit(EventLine("usage").Text("error", error));
        return kExitUsage;
    }
    // Neither the current folder nor any folder but the one given may supply the driver.
    SetDllDirectoryA(options.driverDir ? options.driverDir->c_str() : "");
    if ((options.simScript || options.simScriptFile) &&
        !PrepareSimScript(options.simScript ? &*options.simScript : nullptr,
                          options.simScriptFile ? &*options.simScriptFile : nullptr, &error)) {
        Emit(EventLine("usage").Text("error", "simulator script: " + error));
        return kExitUsage;
    }
    g_version = options.version;
    SetSlowSentMs(options.slowSentMs);
    g_nestedCalls = options.nestedCalls;
    if (!g_nestedCalls.empty())
        SetSentMessageHook(options.nestedMessage, CallNested);
    g_window = CreateHostWindow(options.show);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_watch.perSecond = frequency.QuadPart;
    g_watch.origin = HostOrigin();
    EventLine host = NewEvent("host");
    host.Hex("hwnd", static_cast<uint32_t>(reinterpret_cast<uintptr_t>(g_window)))
        .Hex("watch", static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&g_watch)))
        .Text("driver_dir", options.driverDir ? *options.driverDir : "")
        .Int("slow_sent", options.slowSentMs)
        .Int("threads", CountProcessThreads());
    Emit(host);
    if (g_window == nullptr)
        return kExitNoPlugin;
    ShareHostWindowWithSimulator(g_window);
    g_finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(CreateThread(nullptr, 0, Watchdog,
                             reinterpret_cast<void*>(static_cast<uintptr_t>(options.timeoutMs)), 0, nullptr));
    StartBoxWatcher(g_window, options.userDialogs);
    if (!LoadPlugin(options.plugin))
        return kExitNoPlugin;
    for (size_t i = 0; i < options.steps.size(); ++i) {
        g_currentStep = static_cast<int>(i);
        NoteStepBegins(static_cast<int>(i), options.steps[i].verb);
        Emit(RunStep(options.steps[i], static_cast<int>(i)));
    }
    DrainMessages();
    FreeLibrary(g_plugin.module);
    Emit(NewEvent("done")
             .Int("steps", static_cast<int64_t>(options.steps.size()))
             .Int("threads", CountProcessThreads()));
    SetEvent(g_finished);
    return 0;
}
