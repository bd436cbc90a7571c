#include "plugin/message_box_win32.h"

#include "plugin/plugin_win32.h"
#include "plugin/save_failure_text.h"

void ShowErrorBox(const char* text) {
    MessageBoxA(nullptr, text, PluginName, MB_OK | MB_ICONERROR);
}

void ShowSaveFailures(HWND owner, const std::vector<SaveProblem>& problems) {
    // A host window that went away under the dialog would make the box fail to show at all.
    if (owner && !IsWindow(owner))
        owner = nullptr;
    MessageBoxA(owner, SaveFailureText(problems).c_str(), PluginName, MB_OK | MB_ICONERROR);
}
