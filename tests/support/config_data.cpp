#include "support/config_data.h"

#include <algorithm>
#include <filesystem>

#include "support/temp_folder.h"

namespace fs = std::filesystem;

std::string ConfigDataDir() {
    return (fs::path(__FILE__).parent_path().parent_path() / "data" / "config").string();
}

void LoadDataFolder(const std::string& dataFolder, MemoryFileSystem& memory, const std::string& folder) {
    std::vector<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(dataFolder))
        entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    for (const fs::path& entry : entries) {
        const std::string name = entry.filename().string();
        if (fs::is_directory(entry))
            memory.PutFolder(folder + name);
        else if (entry.extension() != ".txt")
            memory.Put(folder + name, ReadWholeFile(entry.string()));
    }
}
