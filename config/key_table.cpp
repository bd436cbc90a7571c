#include "config/key_table.h"

#include <cctype>
#include <cstring>

#include "decoding/raw_signature.h"

StringList* RemoteNames = nullptr;
StringList* CodeTable = nullptr;
StringList* RawTable = nullptr;

int32_t StringList::Add(std::string text, int32_t tag) {
    entries_.push_back(Entry{std::move(text), tag});
    return Count() - 1;
}

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Blanks and control characters, as the list trims them: every byte up to and including ' '.
bool IsTrimmed(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsTrimmed(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsTrimmed(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view CodePart(std::string_view entry) {
    const size_t eq = entry.find('=');
    return eq == std::string_view::npos ? entry : entry.substr(0, eq);
}

bool InRange(const StringList* list, int32_t index) {
    return list && index >= 0 && index < list->Count();
}

// Reads a whole hexadecimal text; false for an empty text, any other character or overflow.
bool ParseHex(std::string_view text, KeyCode* value) {
    if (text.empty() || text.size() > 16)
        return false;
    KeyCode v = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        v = (v << 4) | static_cast<KeyCode>(digit);
    }
    *value = v;
    return true;
}

} // namespace

int32_t FindCodeEntry(std::string_view text) {
    if (!CodeTable)
        return -1;
    for (int32_t i = 0; i < CodeTable->Count(); ++i) {
        if (SameIgnoringCase(CodePart((*CodeTable)[i].text), text))
            return i;
    }
    return -1;
}

std::string_view KeyNameAt(int32_t index) {
    if (!InRange(CodeTable, index))
        return {};
    const std::string_view entry = (*CodeTable)[index].text;
    const size_t eq = entry.find('=');
    if (eq == std::string_view::npos)
        return {};
    return Trim(entry.substr(eq + 1));
}

std::string_view RemoteNameAt(int32_t index) {
    if (!InRange(CodeTable, index))
        return {};
    const int32_t remote = (*CodeTable)[index].tag;
    if (!InRange(RemoteNames, remote))
        return {};
    return (*RemoteNames)[remote].text;
}

KeyCode CodeOfRawEntry(int32_t rawIndex) {
    if (!InRange(RawTable, rawIndex))
        return 0;
    const int32_t entry = (*RawTable)[rawIndex].tag;
    if (!InRange(CodeTable, entry))
        return 0;
    KeyCode code = 0;
    return ParseHex(CodePart((*CodeTable)[entry].text), &code) ? code : 0;
}

int32_t FindRawEntry(const char* capturedText) {
    if (!RawTable || !capturedText)
        return -1;
    for (int32_t j = 0; j < RawTable->Count(); ++j) {
        if (SameRawSignature((*RawTable)[j].text.c_str(), capturedText))
            return j;
    }
    return -1;
}

std::vector<KeyListRow> ListKeyTable() {
    std::vector<KeyListRow> rows;
    if (!CodeTable)
        return rows;
    rows.reserve(static_cast<size_t>(CodeTable->Count()));
    for (int32_t i = 0; i < CodeTable->Count(); ++i) {
        const std::string& entry = (*CodeTable)[i].text;
        const size_t eq = entry.find('=');
        KeyListRow row;
        row.codeText = std::string(CodePart(entry));
        row.keyName = eq == std::string::npos ? std::string() : entry.substr(eq + 1);
        row.remoteName = std::string(RemoteNameAt(i));
        if (RawTable) {
            for (const auto& raw : RawTable->Entries()) {
                if (raw.tag == i) {
                    row.rawText = raw.text;
                    break;
                }
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}
