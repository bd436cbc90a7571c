#pragma once
// Files whose content lives only in their rescue copy: a replacement that failed half-way took the
// old file away and left the new content under TemporaryPathFor(path). The readers never look at
// that name, so without a word the settings would read as defaults and the remote would vanish.
#include <string>
#include <vector>

#include "config/file_system.h"

// The settings file of modulePath and the remote definition files of its folder (names really
// ending in ".cfg", not starting with '.') that are missing while their rescue copy exists; full
// paths, the settings file first. Nothing without a known module folder.
std::vector<std::string> FindFilesOnlyInRescueCopies(FileSystem& fs, const std::string& modulePath);
