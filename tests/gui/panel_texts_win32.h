#pragma once
// Every text the dialog puts into a panel of its status bar, in order. A text shown only for a
// moment - a press whose release follows at once on a busy machine - is seen as well, where
// reading the bar now and then would miss it.
#include <windows.h>

#include <string>
#include <vector>

// Records from now on what the status bar (a window of another thread of this process) is given;
// what was recorded for an earlier bar is forgotten.
void RecordPanelTexts(HWND statusBar);
// The texts recorded for a panel, oldest first.
std::vector<std::wstring> PanelTexts(int panel);
// Whether the recorded texts of a panel hold `first`, then later `then`, from position `from` on.
bool ShownInTurn(int panel, size_t from, const std::wstring& first, const std::wstring& then);
