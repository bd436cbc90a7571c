#pragma once
// Redirects one imported function of a loaded module to a replacement by rewriting its slot in the
// module's import address table, so the module's calls are recorded (and, where the test wants it,
// never reach the system: no message box stays open, no browser starts).
#include <windows.h>

// The function's previous address, or nullptr when `module` does not import `function` from `dll`
// by name (the slot is then left alone).
void* HookImport(HMODULE module, const char* dll, const char* function, void* replacement);
