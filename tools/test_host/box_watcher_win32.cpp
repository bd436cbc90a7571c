#include "tools/test_host/box_watcher_win32.h"

#include <iterator>
#include <string>

#include "tools/test_host/host_output_win32.h"
#include "tools/test_host/import_hook_win32.h"

namespace {

constexpr DWORD kWatchIntervalMs = 20;

HWND g_hostWindow;
bool g_leaveToUser = false;
using MessageBoxAFn = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
MessageBoxAFn g_realMessageBoxA = nullptr;

int WINAPI RecordingMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT flags) {
    bool textOk = false;
    bool captionOk = false;
    std::string textCopy = ReadForeignText(text, 4096, &textOk);
    std::string captionCopy = ReadForeignText(caption, 4096, &captionOk);
    EventLine line = NewEvent("box");
    line.Text("caption", captionOk ? captionCopy : "(null)")
        .Text("text", textOk ? textCopy : "(null)")
        .Int("flags", flags)
        .Hex("owner", static_cast<uint32_t>(reinterpret_cast<uintptr_t>(owner)))
        .Word("on", ThreadRole(GetCurrentThreadId()));
    Emit(line);
    return g_realMessageBoxA(owner, text, caption, flags);
}

std::string WindowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, static_cast<int>(std::size(text)));
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, static_cast<int>(std::size(name)));
    return name;
}

// The message of a box is its static control with text; the icon is a static without text.
BOOL CALLBACK FindMessageText(HWND child, LPARAM found) {
    std::string* text = reinterpret_cast<std::string*>(found);
    if (ClassOf(child) == "Static") {
        std::string t = WindowText(child);
        if (!t.empty() && text->empty())
            *text = t;
    }
    return TRUE;
}

// Remembers the last boxes already recorded, so a box that takes a moment to close is recorded
// once.
HWND g_recorded[16];
unsigned g_recordedCount = 0;

bool AlreadyRecorded(HWND box) {
    for (HWND h : g_recorded)
        if (h == box)
            return true;
    return false;
}

BOOL CALLBACK DismissBox(HWND window, LPARAM) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || ClassOf(window) != "#32770" ||
        GetWindow(window, GW_OWNER) == g_hostWindow)
        return TRUE;
    if (!AlreadyRecorded(window)) {
        std::string text;
        EnumChildWindows(window, FindMessageText, reinterpret_cast<LPARAM>(&text));
        EventLine line = NewEvent(g_leaveToUser ? "user-dialog" : "dismiss");
        line.Text("caption", WindowText(window)).Text("text", text);
        Emit(line);
        g_recorded[g_recordedCount++ % std::size(g_recorded)] = window;
    }
    if (g_leaveToUser)
        return TRUE;
    HWND ok = GetDlgItem(window, IDOK);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    return TRUE;
}

DWORD WINAPI WatchBoxes(void*) {
    for (;;) {
        EnumWindows(DismissBox, 0);
        Sleep(kWatchIntervalMs);
    }
}

} // namespace

void StartBoxWatcher(HWND hostWindow, bool leaveToUser) {
    g_hostWindow = hostWindow;
    g_leaveToUser = leaveToUser;
    HANDLE thread = CreateThread(nullptr, 0, WatchBoxes, nullptr, 0, nullptr);
    if (thread != nullptr)
        CloseHandle(thread);
}

bool HookMessageBox(HMODULE plugin) {
    g_realMessageBoxA = reinterpret_cast<MessageBoxAFn>(
        HookImport(plugin, "user32.dll", "MessageBoxA", reinterpret_cast<void*>(&RecordingMessageBoxA)));
    return g_realMessageBoxA != nullptr;
}
