// The key table's first-match lookups as they were before the index: linear scans, kept only
// as the reference for the differential tests and the benchmarks.
#include "support/reference_key_table.h"

#include <cstring>

#include "config/ascii_text.h"

namespace reference {

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    return -1;
}

bool SameRawSignatureText(const char* stored, const char* captured) {
    const size_t storedLength = std::strlen(stored);
    const size_t capturedLength = std::strlen(captured);
    if (storedLength < 2 || capturedLength < 2 || stored[0] != captured[0] || stored[1] != captured[1])
        return false;
    const int pulses = HexDigitValue(captured[0]);
    const int pauses = HexDigitValue(captured[1]);
    if (pulses < 0 || pauses < 0)
        return false;
    // The header and the class centres are skipped: only the class sequence is compared.
    const size_t skip = 2 + 4 * static_cast<size_t>(pulses + pauses);
    if (storedLength < skip || capturedLength < skip)
        return false;
    return storedLength == capturedLength && std::strcmp(stored + skip, captured + skip) == 0;
}

} // namespace

int32_t FindCodeEntryIn(const StringList& table, std::string_view text) {
    if (text.find('=') != std::string_view::npos)
        return -1;
    for (int32_t i = 0; i < table.Count(); ++i) {
        const std::string_view entry = table[i].text;
        if (entry.size() > text.size() && entry[text.size()] == '=' &&
            SameIgnoringAsciiCase(entry.substr(0, text.size()), text))
            return i;
    }
    return -1;
}

int32_t FindRawEntryIn(const StringList& table, const char* capturedText) {
    if (!capturedText)
        return -1;
    for (int32_t j = 0; j < table.Count(); ++j) {
        if (SameRawSignatureText(table[j].text.c_str(), capturedText))
            return j;
    }
    return -1;
}

} // namespace reference
