#pragma once
// The file group's Win32 side: the standard file dialogs, the chosen file opened by its wide name,
// and the one box that tells the outcome. What is imported or exported, and what the box says,
// is decided in file_operations.
#include <windows.h>

#include <string>
#include <vector>

#include "config/key_table.h"
#include "config/settings.h"
#include "setup_dialog/file_operations.h"

// The file chosen in the open dialog; empty when none was.
std::wstring ChooseImportFile(HWND owner);
// The path chosen in the save dialog, which suggests suggestedName; empty when none was.
std::wstring ChooseExportFile(HWND owner, const std::wstring& suggestedName);

// Reads the capture file at path, by its wide name (it may lie in a folder the ANSI code page
// cannot name); false when it cannot be opened.
bool ReadImportFile(const std::wstring& path, CaptureText* read);

// Writes rows (one remote) to path; a path the ANSI file functions cannot reach, or a write that
// fails, is told in a box owned by owner. True when written.
bool ExportFile(HWND owner, const std::wstring& path, const std::vector<KeyListRow>& rows);

// The import's summary, or a failure, as a box owned by owner.
void ShowFileOperationBox(HWND owner, const std::wstring& text, const wchar_t* title, bool failed);
