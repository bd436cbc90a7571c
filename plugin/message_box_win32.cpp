#include "plugin/message_box_win32.h"

#include "plugin/plugin_win32.h"
#include "plugin/save_failure_text.h"

void ShowErrorBox(const char* text) {
    MessageBoxA(nullptr, text, PluginName, MB_OK | MB_ICONERROR);
}

namespace {

void ShowOwnedErrorBox(HWND owner, const std::string& text) {
    // A host window that went away under the dialog would make the box fail to show at all.
    if (owner && !IsWindow(owner))
        owner = nullptr;
    MessageBoxA(owner, text.c_str(), PluginName, MB_OK | MB_ICONERROR);
}

} // namespace

void ShowSaveFailures(HWND owner, const std::vector<SaveProblem>& problems) {
    ShowOwnedErrorBox(owner, SaveFailureText(problems));
}

void ShowRescueCopies(HWND owner, const std::vector<std::string>& paths) {
    ShowOwnedErrorBox(owner, RescueCopyText(paths));
}
