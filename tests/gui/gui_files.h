#pragma once
// Files the GUI tests put beside the plug-in.
#include <string>
#include <utility>
#include <vector>

#include "replay_files.h"

using FileList = std::vector<std::pair<std::string, std::string>>;

inline std::string SettingsText(const ReplaySettings& s, int mode = 0) {
    std::string text = SettingsFileText(s);
    const std::string modeKey = "\nMode=0";
    const size_t at = text.find(modeKey);
    if (at != std::string::npos)
        text.replace(at, modeKey.size(), "\nMode=" + std::to_string(mode));
    return text;
}

// The value of key in the text of an INI file; "" when absent.
inline std::string IniValue(const std::string& text, const std::string& key) {
    const std::string needle = "\n" + key + "=";
    const size_t at = ("\n" + text).find(needle);
    if (at == std::string::npos)
        return {};
    const size_t start = at + needle.size() - 1;
    const size_t end = text.find_first_of("\r\n", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
