#pragma once
// The plug-in's only user-visible error report: no owner window, caption PluginName,
// OK button and the error icon.
void ShowErrorBox(const char* text);

#include <windows.h>

#include <string>
#include <vector>

// After the dialog has gone: one box, owned by the host window, naming every file that could not
// be written.
void ShowSaveFailures(HWND owner, const std::vector<std::string>& paths);
