#include "plugin/message_box_win32.h"

#include "plugin/plugin_win32.h"

void ShowErrorBox(const char* text) {
    MessageBoxA(nullptr, text, PluginName, MB_OK | MB_ICONERROR);
}

void ShowSaveFailures(HWND owner, const std::vector<std::string>& paths) {
    std::string text = "The settings could not be saved to:";
    for (const std::string& path : paths)
        text += "\n" + path;
    text += "\n\nThese files keep their previous content.";
    MessageBoxA(owner, text.c_str(), PluginName, MB_OK | MB_ICONERROR);
}
