#pragma once
// The plug-in's only user-visible error report: no owner window, caption PluginName,
// OK button and the error icon.
void ShowErrorBox(const char* text);

#include <windows.h>

#include <string>
#include <vector>

#include "config/save_problems.h"

// After the dialog has gone: one box, owned by the host window, telling what became of every file
// that was not written (SaveFailureText).
void ShowSaveFailures(HWND owner, const std::vector<SaveProblem>& problems);

// After a load: where the content of the files that are missing is (RescueCopyText).
void ShowRescueCopies(HWND owner, const std::vector<std::string>& paths);
