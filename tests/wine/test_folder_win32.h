#pragma once
// The folders that tests run the plug-in in: their files written directly (not through the code
// under test), and the folder removed at the end.
#include <string>

// Creates or replaces the file with exactly content; false when it cannot be written whole.
bool WriteFileBytes(const std::string& path, const std::string& content);
// Removes the folder (given without a trailing separator) and the files in it, read-only ones too.
void RemoveFolder(const std::string& folder);
