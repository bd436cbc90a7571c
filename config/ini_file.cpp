#include "config/ini_file.h"

#include <cstdint>

ReadResult LoadIniFile(FileSystem& fs, const std::string& path, IniDocument* doc) {
    std::string text;
    const ReadResult result = fs.ReadFile(path, &text);
    *doc = result == ReadResult::Ok ? IniDocument::Parse(text) : IniDocument();
    return result;
}

bool ParseDecimalInt32(std::string_view text, int32_t* value) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    int64_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > int64_t{INT32_MAX} + 1)
            return false;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT32_MAX)
        return false;
    *value = static_cast<int32_t>(signedValue);
    return true;
}
