#include "config/key_table.h"

#include "config/ascii_text.h"
#include "decoding/raw_signature.h"

StringList* RemoteNames = nullptr;
StringList* CodeTable = nullptr;
StringList* RawTable = nullptr;

int32_t StringList::Add(std::string text, int32_t tag) {
    entries_.push_back(Entry{std::move(text), tag});
    return Count() - 1;
}

namespace {

bool InRange(const StringList* list, int32_t index) {
    return list && index >= 0 && index < list->Count();
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads a whole hexadecimal text; false for an empty text, any other character, or a value that
// does not fit 64 bits (leading zeros do not count).
bool ParseHex(std::string_view text, KeyCode* value) {
    if (text.empty())
        return false;
    KeyCode v = 0;
    int significant = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return false;
        if (v != 0 || digit != 0)
            ++significant;
        if (significant > CodeDigits)
            return false;
        v = (v << 4) | static_cast<KeyCode>(digit);
    }
    *value = v;
    return true;
}

} // namespace

std::string_view CodePartOf(std::string_view entry) {
    const size_t eq = entry.find('=');
    return eq == std::string_view::npos ? std::string_view() : entry.substr(0, eq);
}

std::string_view KeyNamePartOf(std::string_view entry) {
    const size_t eq = entry.find('=');
    return eq == std::string_view::npos ? std::string_view() : entry.substr(eq + 1);
}

std::string_view TrimmedKeyNameOf(std::string_view entry) {
    return TrimBlanks(KeyNamePartOf(entry));
}

namespace {

// True when entry starts with code (case ignored) and the '=' follows right after; code holds
// no '=' (a code part never does).
bool StartsWithCodePart(std::string_view entry, std::string_view code) {
    return entry.size() > code.size() && entry[code.size()] == '=' &&
           SameIgnoringAsciiCase(entry.substr(0, code.size()), code);
}

} // namespace

int32_t FindCodeEntryIn(const StringList& table, std::string_view text) {
    if (text.find('=') != std::string_view::npos)
        return -1;
    for (int32_t i = 0; i < table.Count(); ++i) {
        if (StartsWithCodePart(table[i].text, text))
            return i;
    }
    return -1;
}

int32_t FindCodeEntry(std::string_view text) {
    return CodeTable ? FindCodeEntryIn(*CodeTable, text) : -1;
}

std::string_view KeyNameAt(int32_t index) {
    return InRange(CodeTable, index) ? TrimmedKeyNameOf((*CodeTable)[index].text) : std::string_view();
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
    return ParseHex(CodePartOf((*CodeTable)[entry].text), &code) ? code : 0;
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
    // First raw entry of each code entry, found in one pass instead of one scan per row.
    std::vector<int32_t> firstRaw(static_cast<size_t>(CodeTable->Count()), -1);
    if (RawTable) {
        for (int32_t j = RawTable->Count() - 1; j >= 0; --j) {
            const int32_t tag = (*RawTable)[j].tag;
            if (InRange(CodeTable, tag))
                firstRaw[static_cast<size_t>(tag)] = j;
        }
    }
    rows.reserve(firstRaw.size());
    for (int32_t i = 0; i < CodeTable->Count(); ++i) {
        const std::string_view entry = (*CodeTable)[i].text;
        KeyListRow row;
        row.keyName = std::string(KeyNamePartOf(entry));
        row.remoteName = std::string(RemoteNameAt(i));
        row.codeText = std::string(CodePartOf(entry));
        if (firstRaw[static_cast<size_t>(i)] >= 0)
            row.rawText = (*RawTable)[firstRaw[static_cast<size_t>(i)]].text;
        rows.push_back(std::move(row));
    }
    return rows;
}
