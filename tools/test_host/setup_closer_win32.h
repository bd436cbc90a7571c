#pragma once
// Closes the plug-in's setup dialog for the "setup" step: a thread waits until a visible
// top-level window of this process owned by the host window appears, records it (line
// "dialog"), waits the given time and closes it with WM_SYSCOMMAND SC_CLOSE, as a user would.
#include <windows.h>

#include <cstdint>

// setupForm: address of the plug-in's exported _SetupForm variable, or null. Returns the thread,
// which ends soon after the dialog has gone; the caller waits for it and closes the handle.
HANDLE StartSetupCloser(HWND hostWindow, void* const* setupForm, int64_t closeAfterMs);
