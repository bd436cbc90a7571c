#pragma once
// The plug-in's ShellExecuteA calls (the about page's links): a hook on its import records each
// call (line "shell") and answers success without starting anything, so no browser or mail
// program opens in a test.
#include <windows.h>

// False when the plug-in has no such import.
bool HookShellExecute(HMODULE plugin);
