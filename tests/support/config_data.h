#pragma once
#include <string>

#include "support/memory_file_system.h"

// Folder of the configuration test data (tests/data/config), found from this source file's place.
std::string ConfigDataDir();

// Puts every entry of a data folder into fs under folder, in name order; directories become empty
// directories and the *.txt files with expected results are left out.
void LoadDataFolder(const std::string& dataFolder, MemoryFileSystem& fs, const std::string& folder);
