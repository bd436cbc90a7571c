#include "tools/test_host/box_watcher_win32.h"

#include <cstring>
#include <iterator>
#include <string>

#include "tools/test_host/host_output_win32.h"

namespace {

constexpr DWORD kWatchIntervalMs = 20;

HWND g_hostWindow;
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
        EventLine line = NewEvent("dismiss");
        line.Text("caption", WindowText(window)).Text("text", text);
        Emit(line);
        g_recorded[g_recordedCount++ % std::size(g_recorded)] = window;
    }
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

void StartBoxWatcher(HWND hostWindow) {
    g_hostWindow = hostWindow;
    HANDLE thread = CreateThread(nullptr, 0, WatchBoxes, nullptr, 0, nullptr);
    if (thread != nullptr)
        CloseHandle(thread);
}

bool HookMessageBox(HMODULE plugin) {
    auto* base = reinterpret_cast<uint8_t*>(plugin);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0)
        return false;
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name != 0;
         ++imp) {
        if (_stricmp(reinterpret_cast<const char*>(base + imp->Name), "user32.dll") != 0 ||
            imp->OriginalFirstThunk == 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "MessageBoxA") != 0)
                continue;
            DWORD old = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old))
                return false;
            g_realMessageBoxA = reinterpret_cast<MessageBoxAFn>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<uintptr_t>(&RecordingMessageBoxA);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            return true;
        }
    }
    return false;
}
