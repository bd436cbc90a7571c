#include "tests/gui/gui_session_win32.h"

#include <atomic>
#include <cstring>
#include <iterator>

#include <gtest/gtest.h>

#include "plugin/host_records.h"
#include "plugin/host_version.h"
#include "tests/gui/dialog_driver_win32.h"
#include "tests/watchdog/test_watchdog_win32.h"
#include "tests/wine/test_folder_win32.h"
#include "tests/wine/test_paths_win32.h"
#include "tools/receiver_simulator/sim_control.h"

namespace {

constexpr UINT kMsgSync = WM_APP + 1; // wParam: a window to draw what waits first; lParam: event to set
constexpr UINT kMsgNestedSetup = WM_APP + 2;
constexpr UINT kMsgDestroyHost = WM_APP + 3;
const wchar_t kHostClass[] = L"OrvikGuiTestHost";
std::atomic<int> g_sessionCounter{0};

// Every heap of the process passes the system's own check. A write past a buffer or into freed
// memory by the plug-in, the simulator or the driver shows here, where it would otherwise crash
// only now and then, far from its cause.
bool HeapsAreWhole() {
    HANDLE heaps[256];
    const DWORD count = GetProcessHeaps(static_cast<DWORD>(std::size(heaps)), heaps);
    for (DWORD i = 0; i < count && i < std::size(heaps); ++i)
        if (!HeapValidate(heaps[i], 0, nullptr))
            return false;
    return true;
}

struct DriveJob {
    HWND host;
    const std::function<void(DialogDriver&)>* drive;
    bool found = false;
};

DWORD WINAPI DriveDialog(void* param) {
    auto* job = static_cast<DriveJob*>(param);
    HWND form = nullptr;
    for (int waited = 0; !form && waited < 15000; waited += 10) {
        form = FindProcessWindow(L"TSetupForm", job->host);
        if (!form)
            Sleep(10);
    }
    if (form) {
        job->found = true;
        DialogDriver driver(form, job->host);
        (*job->drive)(driver);
        if (IsWindow(form))
            PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    return 0;
}

} // namespace

GuiSession::GuiSession(const std::vector<std::pair<std::string, std::string>>& files,
                       const std::string& simScript, bool withDriver) {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "orvik_gui_" + std::to_string(GetCurrentProcessId()) + "_" +
              std::to_string(g_sessionCounter++);
    CreateDirectoryA(folder_.c_str(), nullptr);
    const std::string pluginPath = folder_ + "\\OrvikPlug.dll";
    CopyFileA(Paths().plugin.c_str(), pluginPath.c_str(), FALSE);
    for (const auto& [name, content] : files)
        WriteFile(name, content);

    InitializeCriticalSection(&boxLock_);
    stopAnswering_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    boxAnswerer_ = CreateThread(nullptr, 0, AnswerBoxes, this, 0, nullptr);

    SetEnvironmentVariableA(kSimScriptVar, simScript.empty() ? "idle 2" : simScript.c_str());
    SetDllDirectoryA(withDriver ? Paths().simulatorDir.c_str() : "");

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHostClass;
    RegisterClassExW(&wc);
    host_ = CreateWindowExW(0, kHostClass, L"GUI test host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                            nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    plugin_ = LoadLibraryA(pluginPath.c_str());
    if (!plugin_)
        return;
    using OpenFn = const char*(__stdcall*)(const char*, HWND, const void*);
    auto open = reinterpret_cast<OpenFn>(reinterpret_cast<void*>(GetProcAddress(plugin_, "Open")));
    start_ = reinterpret_cast<void(__stdcall*)()>(reinterpret_cast<void*>(GetProcAddress(plugin_, "Start")));
    stop_ = reinterpret_cast<void(__stdcall*)()>(reinterpret_cast<void*>(GetProcAddress(plugin_, "Stop")));
    setup_ = reinterpret_cast<void(__stdcall*)()>(reinterpret_cast<void*>(GetProcAddress(plugin_, "Setup")));
    close_ = reinterpret_cast<void(__stdcall*)()>(reinterpret_cast<void*>(GetProcAddress(plugin_, "Close")));
    unsigned char info[64] = {};
    const uint32_t version = 0x02070C00;
    std::memcpy(info + kHostVersionOffset, &version, sizeof(version));
    WatchNote("Open, plug-in in " + folder_);
    if (open)
        open("REMOTE", host_, info);
    WatchNote("Open returned");
}

GuiSession::~GuiSession() {
    WatchNote("Close and unload, the session ends");
    if (plugin_) {
        if (close_)
            close_();
        FreeLibrary(plugin_);
    }
    if (host_)
        DestroyWindow(host_);
    SetEvent(stopAnswering_);
    WaitForSingleObject(boxAnswerer_, INFINITE);
    CloseHandle(boxAnswerer_);
    CloseHandle(stopAnswering_);
    DeleteCriticalSection(&boxLock_);
    RemoveFolder(folder_);
    EXPECT_TRUE(HeapsAreWhole()) << "a heap of the process was corrupted during the test";
}

void GuiSession::Start() {
    WatchNote("Start");
    if (start_)
        start_();
    WatchNote("Start returned");
}

void GuiSession::Stop() {
    WatchNote("Stop");
    if (stop_)
        stop_();
    WatchNote("Stop returned");
}

void GuiSession::Close() {
    WatchNote("Close");
    if (close_)
        close_();
    WatchNote("Close returned");
}

bool GuiSession::RunSetup(const std::function<void(DialogDriver&)>& drive) {
    if (!setup_)
        return false;
    DriveJob job{host_, &drive};
    HANDLE thread = CreateThread(nullptr, 0, DriveDialog, &job, 0, nullptr);
    WatchNote("Setup, the dialog driven from another thread");
    setup_();
    WatchNote("Setup returned, waiting for the dialog's driver thread");
    // The driver thread posts and sends to windows of this thread: keep them flowing meanwhile.
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    CloseHandle(thread);
    WatchNote("Setup done");
    return job.found;
}

void GuiSession::Pump(unsigned ms) {
    WatchNote("pumping messages for " + std::to_string(ms) + " ms");
    const DWORD end = GetTickCount() + ms;
    while (static_cast<int32_t>(end - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

std::string GuiSession::ReadFile(const std::string& name) const {
    HANDLE file = CreateFileA((folder_ + "\\" + name).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string content;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        content.append(buffer, got);
    CloseHandle(file);
    return content;
}

bool GuiSession::WriteFile(const std::string& name, const std::string& content) const {
    return WriteFileBytes(folder_ + "\\" + name, content);
}

LRESULT CALLBACK GuiSession::HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMsgSync) {
        // Paints come only when no message waits: draw what they would draw now.
        if (wParam != 0)
            RedrawWindow(reinterpret_cast<HWND>(wParam), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        SetEvent(reinterpret_cast<HANDLE>(lParam));
        return 0;
    }
    auto* session = reinterpret_cast<GuiSession*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (session && message == kMsgNestedSetup) {
        session->setup_();
        return 0;
    }
    if (session && message == kMsgDestroyHost) {
        DestroyWindow(hwnd);
        session->host_ = nullptr;
        return 0;
    }
    if (session && message == kMsgKeyEvent && wParam != 0) {
        const auto* record = reinterpret_cast<const KeyEventRecord*>(wParam);
        HostKeyEvent event{record->keyName,
                           reinterpret_cast<const char*>(static_cast<uintptr_t>(record->remoteName)),
                           static_cast<int32_t>(lParam)};
        session->keyEvents_.push_back(event);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int32_t GuiSession::SimulatorPolls() const {
    HMODULE simulator = GetModuleHandleA("OrvikUSB.dll");
    using GetState = void(__stdcall*)(SimState*);
    auto get =
        simulator
            ? reinterpret_cast<GetState>(reinterpret_cast<void*>(GetProcAddress(simulator, "SimGetState")))
            : nullptr;
    if (!get)
        return -1;
    SimState state{};
    get(&state);
    return state.calls[kSimGetInfraCode];
}

void GuiSession::PostNestedSetup() const {
    PostMessageW(host_, kMsgNestedSetup, 0, 0);
}

void GuiSession::PostDestroyHost() const {
    PostMessageW(host_, kMsgDestroyHost, 0, 0);
}

DWORD WINAPI GuiSession::AnswerBoxes(void* param) {
    auto* session = static_cast<GuiSession*>(param);
    while (WaitForSingleObject(session->stopAnswering_, 10) == WAIT_TIMEOUT) {
        // A top-level dialog-class window of this process is a message box, unless it is a file
        // dialog: the form's own child dialog is never top-level.
        HWND box = FindProcessWindow(L"#32770");
        if (!box || IsFileDialog(box) || session->holdBoxes_)
            continue;
        wchar_t text[2048] = L"";
        GetDlgItemTextW(box, 0xFFFF, text, static_cast<int>(std::size(text)));
        char utf8[4096] = "";
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
        EnterCriticalSection(&session->boxLock_);
        session->boxes_.push_back(utf8);
        session->boxOwners_.push_back(GetWindow(box, GW_OWNER));
        LeaveCriticalSection(&session->boxLock_);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        while (IsWindow(box) && IsWindowVisible(box) &&
               WaitForSingleObject(session->stopAnswering_, 10) == WAIT_TIMEOUT) {
        }
    }
    return 0;
}

std::vector<std::string> GuiSession::Boxes() const {
    EnterCriticalSection(&boxLock_);
    std::vector<std::string> copy = boxes_;
    LeaveCriticalSection(&boxLock_);
    return copy;
}

std::vector<HWND> GuiSession::BoxOwners() const {
    EnterCriticalSection(&boxLock_);
    std::vector<HWND> copy = boxOwners_;
    LeaveCriticalSection(&boxLock_);
    return copy;
}

bool GuiSession::SetSimScript(const std::string& script) const {
    HMODULE simulator = GetModuleHandleA("OrvikUSB.dll");
    using SetScript = int32_t(__stdcall*)(const char*, char*, int32_t);
    auto set =
        simulator
            ? reinterpret_cast<SetScript>(reinterpret_cast<void*>(GetProcAddress(simulator, "SimSetScript")))
            : nullptr;
    char error[160] = "";
    return set && set(script.c_str(), error, static_cast<int32_t>(sizeof(error))) == 0;
}
