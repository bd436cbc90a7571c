#pragma once
// One remote written to a file the user chose (a backup, or a remote to share), by the key-list
// writer itself: the file is exactly what the plug-in writes for that remote beside itself, and
// reads back as that remote.
#include <string>
#include <vector>

#include "config/file_system.h"
#include "config/key_table.h"

// Writes rows, in their order, into a new file at path (replacing a file there whole, or leaving
// it as it was on failure). Rows whose remote names differ (spellings of one file) end up in the
// one file as the writer would put them. False when the file could not be written or no row gave
// it anything to hold.
bool ExportRemoteFile(FileSystem& fs, const std::string& path, const std::vector<KeyListRow>& rows);
