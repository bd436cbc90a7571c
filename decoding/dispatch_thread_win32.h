#pragma once
#include <windows.h>

// Routine of DispatchThread: turns hand-offs into press, repeat and release messages.
DWORD WINAPI DispatchKeys(LPVOID);
