#pragma once
// The plug-in's message boxes: a hook on its import of MessageBoxA records each call with its
// owner and flags (line "box"), and a watcher thread presses OK on every message box of this
// process and records what the window showed (line "dismiss"), or, for a person trying the
// dialog by hand, only records it.
#include <windows.h>

// Message boxes are dialogs of class #32770 that are not owned by the host window; the setup
// dialog is owned by it and stays alone. leaveToUser: the boxes and file dialogs are recorded
// (line "user-dialog") and left for a person to answer.
void StartBoxWatcher(HWND hostWindow, bool leaveToUser);
// Points the plug-in's import of MessageBoxA at the recorder. False when it has no such import.
bool HookMessageBox(HMODULE plugin);
