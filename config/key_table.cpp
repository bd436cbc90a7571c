#include "config/key_table.h"

#include <algorithm>

#include "config/ascii_text.h"
#include "decoding/raw_signature.h"

StringList* RemoteNames = nullptr;
StringList* CodeTable = nullptr;
StringList* RawTable = nullptr;

namespace {

// FNV-1a; codes are hashed with their letters upper-cased, so that keys equal without regard to
// case fall into one chain.
constexpr uint32_t kHashStart = 2166136261u;
uint32_t HashBytes(std::string_view text, uint32_t hash, bool foldCase) {
    for (char c : text) {
        hash ^= static_cast<unsigned char>(foldCase ? AsciiUpper(c) : c);
        hash *= 16777619u;
    }
    return hash;
}

bool CodePartIfAny(std::string_view entry, std::string_view& code) {
    const size_t eq = entry.find('=');
    if (eq == std::string_view::npos)
        return false;
    code = entry.substr(0, eq);
    return true;
}

uint32_t CodeHash(std::string_view code) {
    return HashBytes(code, kHashStart, true);
}

// The text as SameRawSignature sees it: up to the first NUL.
bool RawPartsOf(const std::string& text, RawSignatureParts& parts) {
    return SplitRawSignatureText(std::string_view(text.c_str()), parts);
}

uint32_t RawHash(const RawSignatureParts& parts) {
    return HashBytes(parts.classes, HashBytes(parts.header, kHashStart, false), false);
}

// Slot of the key with the given hash: the slot holding an entry for which same(entry) is true,
// or the empty slot where it would go. The table is never full (at most half its slots are used).
template <typename Same>
size_t ProbeSlot(const StringList::FirstEntryIndex& index, uint32_t hash, Same same) {
    const size_t mask = index.slots.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const int32_t held = index.slots[slot];
        if (held == 0 || same(held - 1))
            return slot;
    }
}

template <typename Same>
int32_t FindFirst(const StringList::FirstEntryIndex& index, uint32_t hash, Same same) {
    if (index.slots.empty())
        return -1;
    return index.slots[ProbeSlot(index, hash, same)] - 1;
}

// Records entry as the first of its key unless an earlier entry holds that key already.
template <typename HashOf, typename Same>
void AddFirst(StringList::FirstEntryIndex& index, int32_t entry, uint32_t hash, HashOf hashOf, Same same) {
    if (2 * (index.keys + 1) > static_cast<int32_t>(index.slots.size())) {
        std::vector<int32_t> old(std::max<size_t>(16, 2 * index.slots.size()), 0);
        old.swap(index.slots);
        // Every held key is distinct, so each only needs an empty slot.
        for (int32_t held : old) {
            if (held != 0)
                index.slots[ProbeSlot(index, hashOf(held - 1), [](int32_t) { return false; })] = held;
        }
    }
    const size_t slot = ProbeSlot(index, hash, same);
    if (index.slots[slot] == 0) {
        index.slots[slot] = entry + 1;
        ++index.keys;
    }
}

} // namespace

int32_t StringList::Add(std::string text, int32_t tag) {
    entries_.push_back(Entry{std::move(text), tag});
    const int32_t added = Count() - 1;
    Index(added);
    return added;
}

void StringList::Reserve(int32_t count) {
    const size_t wanted = static_cast<size_t>(count);
    if (wanted > entries_.capacity())
        entries_.reserve(std::max(wanted, 2 * entries_.capacity()));
}

void StringList::ReplaceTexts(std::vector<std::pair<int32_t, std::string>> texts) {
    for (auto& [entry, text] : texts)
        entries_[static_cast<size_t>(entry)].text = std::move(text);
    codeIndex_ = FirstEntryIndex{};
    rawIndex_ = FirstEntryIndex{};
    for (int32_t i = 0; i < Count(); ++i)
        Index(i);
}

void StringList::Index(int32_t added) {
    const std::string& addedText = entries_[static_cast<size_t>(added)].text;

    std::string_view code;
    if (CodePartIfAny(addedText, code)) {
        AddFirst(
            codeIndex_, added, CodeHash(code),
            [this](int32_t i) { return CodeHash(CodePartOf(entries_[static_cast<size_t>(i)].text)); },
            [&](int32_t i) {
                return SameIgnoringAsciiCase(CodePartOf(entries_[static_cast<size_t>(i)].text), code);
            });
    }
    RawSignatureParts parts;
    if (RawPartsOf(addedText, parts)) {
        auto partsAt = [this](int32_t i) {
            RawSignatureParts held;
            RawPartsOf(entries_[static_cast<size_t>(i)].text, held);
            return held;
        };
        AddFirst(
            rawIndex_, added, RawHash(parts), [&](int32_t i) { return RawHash(partsAt(i)); },
            [&](int32_t i) {
                const RawSignatureParts held = partsAt(i);
                return held.header == parts.header && held.classes == parts.classes;
            });
    }
}

void StringList::Clear() {
    entries_.clear();
    codeIndex_ = FirstEntryIndex{};
    rawIndex_ = FirstEntryIndex{};
}

int32_t StringList::FirstWithCodePart(std::string_view code) const {
    return FindFirst(codeIndex_, CodeHash(code), [&](int32_t i) {
        return SameIgnoringAsciiCase(CodePartOf(entries_[static_cast<size_t>(i)].text), code);
    });
}

int32_t StringList::FirstSameRawSignature(std::string_view captured) const {
    RawSignatureParts parts;
    if (!SplitRawSignatureText(captured, parts))
        return -1;
    return FindFirst(rawIndex_, RawHash(parts), [&](int32_t i) {
        RawSignatureParts held;
        RawPartsOf(entries_[static_cast<size_t>(i)].text, held);
        return held.header == parts.header && held.classes == parts.classes;
    });
}

namespace {

bool InRange(const StringList* list, int32_t index) {
    return list && index >= 0 && index < list->Count();
}

// Reads a whole hexadecimal text; false for an empty text, any other character, or a value that
// does not fit 64 bits (leading zeros do not count).
bool ParseHex(std::string_view text, KeyCode* value) {
    if (text.empty())
        return false;
    KeyCode v = 0;
    int significant = 0;
    for (char c : text) {
        const int digit = AsciiHexDigitValue(c);
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

int32_t FindCodeEntryIn(const StringList& table, std::string_view text) {
    // A code part never holds '='.
    if (text.find('=') != std::string_view::npos)
        return -1;
    return table.FirstWithCodePart(text);
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

int32_t CodeEntryOfRawEntry(int32_t rawIndex) {
    if (!InRange(RawTable, rawIndex))
        return -1;
    const int32_t entry = (*RawTable)[rawIndex].tag;
    return InRange(CodeTable, entry) ? entry : -1;
}

KeyCode CodeOfRawEntry(int32_t rawIndex) {
    const int32_t entry = CodeEntryOfRawEntry(rawIndex);
    if (entry < 0)
        return 0;
    KeyCode code = 0;
    return ParseHex(CodePartOf((*CodeTable)[entry].text), &code) ? code : 0;
}

int32_t FindRawEntry(const char* capturedText) {
    if (!RawTable || !capturedText)
        return -1;
    return RawTable->FirstSameRawSignature(capturedText);
}

std::vector<KeyListRow> ListKeyTable() {
    std::vector<KeyListRow> rows;
    if (!CodeTable)
        return rows;
    // The raw entries of each code entry, in table order, gathered in one pass (a counting sort by
    // tag) instead of one scan per row: those of entry i are raws[start[i]] to raws[start[i + 1] - 1].
    const size_t entries = static_cast<size_t>(CodeTable->Count());
    std::vector<int32_t> start(entries + 1, 0);
    std::vector<int32_t> raws;
    if (RawTable) {
        for (const StringList::Entry& raw : RawTable->Entries())
            if (InRange(CodeTable, raw.tag))
                ++start[static_cast<size_t>(raw.tag) + 1];
        for (size_t i = 0; i < entries; ++i)
            start[i + 1] += start[i];
        raws.resize(static_cast<size_t>(start[entries]));
        std::vector<int32_t> next(start.begin(), start.end() - 1);
        for (int32_t j = 0; j < RawTable->Count(); ++j) {
            const int32_t tag = (*RawTable)[j].tag;
            if (InRange(CodeTable, tag))
                raws[static_cast<size_t>(next[static_cast<size_t>(tag)]++)] = j;
        }
    }
    rows.reserve(entries + raws.size());
    for (int32_t i = 0; i < CodeTable->Count(); ++i) {
        const std::string_view entry = (*CodeTable)[i].text;
        KeyListRow row;
        row.keyName = std::string(KeyNamePartOf(entry));
        row.remoteName = std::string(RemoteNameAt(i));
        row.codeText = std::string(CodePartOf(entry));
        const int32_t first = start[static_cast<size_t>(i)];
        const int32_t end = start[static_cast<size_t>(i) + 1];
        if (first < end)
            row.rawText = (*RawTable)[raws[static_cast<size_t>(first)]].text;
        rows.push_back(row);
        // Every further pattern of the key is a row of its own, without the code (which the first
        // row carries), so that a save writes it back and the user sees and can remove it.
        for (int32_t k = first + 1; k < end; ++k) {
            KeyListRow pattern{row.keyName, row.remoteName, std::string(),
                               (*RawTable)[raws[static_cast<size_t>(k)]].text};
            rows.push_back(std::move(pattern));
        }
    }
    return rows;
}
