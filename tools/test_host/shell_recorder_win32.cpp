#include "tools/test_host/shell_recorder_win32.h"

#include <cstdint>
#include <string>

#include "tools/test_host/host_output_win32.h"
#include "tools/test_host/import_hook_win32.h"

namespace {

constexpr size_t kTextLimit = 4096;

void AddText(EventLine& line, const char* key, const char* text) {
    if (text == nullptr) {
        line.Word(key, "(null)");
        return;
    }
    bool ok = false;
    const std::string copy = ReadForeignText(text, kTextLimit, &ok);
    line.Text(key, ok ? copy : "(unreadable)");
}

HINSTANCE WINAPI RecordingShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                        LPCSTR directory, INT show) {
    EventLine line = NewEvent("shell");
    AddText(line, "verb", verb);
    AddText(line, "file", file);
    AddText(line, "params", parameters);
    AddText(line, "dir", directory);
    line.Int("show", show)
        .Hex("owner", static_cast<uint32_t>(reinterpret_cast<uintptr_t>(owner)))
        .Word("on", ThreadRole(GetCurrentThreadId()));
    Emit(line);
    return reinterpret_cast<HINSTANCE>(42); // above 32: success
}

} // namespace

bool HookShellExecute(HMODULE plugin) {
    return HookImport(plugin, "shell32.dll", "ShellExecuteA",
                      reinterpret_cast<void*>(&RecordingShellExecuteA)) != nullptr;
}
