#include "tools/test_host/setup_closer_win32.h"

#include <iterator>
#include <string>

#include "tools/test_host/host_output_win32.h"

namespace {

constexpr DWORD kPollMs = 10;
constexpr DWORD kGiveUpMs = 15000;
// A dialog that ignores SC_CLOSE gets WM_CLOSE after this long, and the line says so.
constexpr DWORD kInsistAfterMs = 3000;

struct CloserJob {
    HWND host;
    void* const* setupForm;
    int64_t closeAfterMs;
};

struct Search {
    HWND host;
    HWND found;
};

BOOL CALLBACK FindOwnedWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == search->host) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

uint32_t SetupFormValue(void* const* setupForm) {
    return setupForm != nullptr ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(*setupForm)) : 0;
}

DWORD WINAPI CloseSetup(void* param) {
    CloserJob job = *static_cast<CloserJob*>(param);
    delete static_cast<CloserJob*>(param);
    Search search{job.host, nullptr};
    for (DWORD waited = 0; search.found == nullptr && waited < kGiveUpMs; waited += kPollMs) {
        EnumWindows(FindOwnedWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr)
            Sleep(kPollMs);
    }
    if (search.found == nullptr) {
        Emit(NewEvent("dialog").Int("found", 0));
        return 0;
    }
    char className[64] = "";
    char title[256] = "";
    GetClassNameA(search.found, className, static_cast<int>(std::size(className)));
    GetWindowTextA(search.found, title, static_cast<int>(std::size(title)));
    Emit(NewEvent("dialog")
             .Int("found", 1)
             .Text("class", className)
             .Text("title", title)
             .Hex("setupform", SetupFormValue(job.setupForm)));
    Sleep(static_cast<DWORD>(job.closeAfterMs));
    // A modal dialog disables its owner while it is on screen.
    Emit(NewEvent("dialog-close").Word("modal", IsWindowEnabled(job.host) ? "no" : "yes"));
    PostMessageA(search.found, WM_SYSCOMMAND, SC_CLOSE, 0);
    for (DWORD waited = 0; IsWindow(search.found) && IsWindowVisible(search.found); waited += kPollMs) {
        if (waited == kInsistAfterMs) {
            Emit(NewEvent("dialog-insist"));
            PostMessageA(search.found, WM_CLOSE, 0, 0);
        }
        Sleep(kPollMs);
    }
    return 0;
}

} // namespace

HANDLE StartSetupCloser(HWND hostWindow, void* const* setupForm, int64_t closeAfterMs) {
    auto* job = new CloserJob{hostWindow, setupForm, closeAfterMs};
    HANDLE thread = CreateThread(nullptr, 0, CloseSetup, job, 0, nullptr);
    if (thread == nullptr)
        delete job;
    return thread;
}
