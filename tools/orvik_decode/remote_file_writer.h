#pragma once
// orvik-decode --write-cfg: the remote definition file of one remote, written by the plug-in's own
// writer.
#include <string>
#include <vector>

#include "config/file_system.h"
#include "config/key_table.h"

// Writes the rows, all of one remote, into that remote's file in folder (with its trailing
// separator) through the plug-in's writer of remote definition files, and sets *path to it. Only
// that file is touched: the writer would otherwise take every other definition file of the folder
// for one whose keys were all removed. False when it is not written, *why (when given) then says
// why: as the plug-in, it refuses a file larger than it reads, and one whose rescue copy exists.
bool WriteRemoteFile(FileSystem& fs, const std::string& folder, const std::string& remote,
                     const std::vector<KeyListRow>& rows, std::string* path, std::string* why = nullptr);
