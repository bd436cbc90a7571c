#pragma once
#include <windows.h>

#include <atomic>

// Routine of DispatchThread: turns hand-offs into press, repeat and release messages.
DWORD WINAPI DispatchKeys(LPVOID);

// The host got a press from the dispatch thread and not yet its release.
extern std::atomic<bool> HostKeyHeld;

// Setup has set SetupOpen while the threads run: wakes the dispatcher and waits, letting sent
// messages through, until a button the host holds has had its release (or the thread has ended),
// so that the host hears it before the dialog opens.
void ReleaseHostKeyForSetup();
