#include "plugin/message_box_win32.h"

#include "plugin/plugin_win32.h"

void ShowErrorBox(const char* text) {
    MessageBoxA(nullptr, text, PluginName, MB_OK | MB_ICONERROR);
}
