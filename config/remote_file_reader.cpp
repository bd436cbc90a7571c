// Reader of the remote definition files: the second half of LoadConfiguration.
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "config/ascii_text.h"
#include "config/ini_document.h"
#include "config/remote_files.h"

namespace {

// The entries Key<n> and Raw<n> of the Raw section, first occurrence winning like every other
// lookup: keys[n - 1] and patterns[n - 1] index section, -1 when absent. Only n from 1 up to the
// section's line count can belong to the unbroken run that is read, so the section is walked once
// and nothing is kept per line beyond its two views and two indexes.
struct RawEntries {
    std::vector<IniEntry> section;
    std::vector<int32_t> keys;
    std::vector<int32_t> patterns;
};

// n of a name "<prefix><n>" (prefix in any letter case, n in decimal without leading zeros), or 0.
size_t NumberAfter(std::string_view name, std::string_view prefix, size_t largest) {
    if (name.size() <= prefix.size() || !SameIgnoringAsciiCase(name.substr(0, prefix.size()), prefix))
        return 0;
    size_t n = 0;
    const std::string_view digits = name.substr(prefix.size());
    if (digits.front() == '0')
        return 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + static_cast<size_t>(c - '0');
        if (n > largest)
            return 0;
    }
    return n;
}

RawEntries ReadRawEntries(const IniDocument& doc) {
    RawEntries raw;
    raw.section = doc.ReadSection("Raw");
    const size_t count = raw.section.size();
    raw.keys.assign(count, -1);
    raw.patterns.assign(count, -1);
    for (size_t i = 0; i < count; ++i) {
        for (auto [prefix, list] : {std::pair{"Key", &raw.keys}, std::pair{"Raw", &raw.patterns}}) {
            const size_t n = NumberAfter(raw.section[i].key, prefix, count);
            if (n != 0 && (*list)[n - 1] < 0)
                (*list)[n - 1] = static_cast<int32_t>(i);
        }
    }
    return raw;
}

// A code entry that waits for its placeholder code: its text is "=" and the key name until then.
struct Placeholder {
    int32_t entry;
    int32_t file; // placeholders count from 1 in every file
};

void ReadRemoteFile(const IniDocument& doc, int32_t file, StringList& remoteNames, StringList& codeTable,
                    StringList& rawTable, std::vector<Placeholder>& placeholders) {
    const int32_t remote = remoteNames.Add(doc.GetString("Main", "Name", kUnknownRemoteName));
    const int32_t firstOfFile = codeTable.Count();
    int32_t codeLines = 0;
    doc.VisitSection("Code", [&codeLines](const IniEntry&) { ++codeLines; });
    codeTable.Reserve(firstOfFile + codeLines);
    doc.VisitSection("Code", [&](const IniEntry& entry) {
        std::string text(entry.key);
        text += '=';
        text += entry.value;
        codeTable.Add(std::move(text), remote);
    });

    const RawEntries raw = ReadRawEntries(doc);
    if (raw.keys.empty() || raw.keys.front() < 0)
        return;
    // A raw key takes the code entry of this file whose key name equals its own exactly (letter
    // case included): the first Code line of that name, else the placeholder an earlier raw key
    // of that name got. Only a file with raw keys needs the names, and then by views into doc.
    std::unordered_map<std::string_view, int32_t> entryOfKeyName;
    int32_t entry = firstOfFile;
    doc.VisitSection("Code", [&](const IniEntry& line) { entryOfKeyName.emplace(line.value, entry++); });
    for (size_t n = 0; n < raw.keys.size() && raw.keys[n] >= 0; ++n) {
        const std::string_view keyName = raw.section[static_cast<size_t>(raw.keys[n])].value;
        const std::string_view pattern = raw.patterns[n] < 0
                                             ? std::string_view()
                                             : raw.section[static_cast<size_t>(raw.patterns[n])].value;
        auto [found, added] = entryOfKeyName.emplace(keyName, 0);
        if (added) {
            found->second = codeTable.Add("=" + std::string(keyName), remote);
            placeholders.push_back(Placeholder{found->second, file});
        }
        rawTable.Add(AsciiUpperCopy(pattern), found->second);
    }
}

// Placeholder codes are handed out only once the Code lines of every file are in the table, so
// that none equals a code of any file: a raw match would otherwise name a file's raw-only key
// with the code another file gives to its own key, and the next save would write the clash into
// both files. Each file counts 1, 2, 3 ... and skips every code already taken.
void AssignPlaceholderCodes(StringList& codeTable, const std::vector<Placeholder>& placeholders) {
    std::unordered_set<KeyCode> assigned;
    std::vector<std::pair<int32_t, std::string>> texts;
    texts.reserve(placeholders.size());
    KeyCode counter = 0;
    int32_t file = -1;
    for (const Placeholder& placeholder : placeholders) {
        if (placeholder.file != file) {
            file = placeholder.file;
            counter = 0;
        }
        char code[CodeDigits + 1];
        do {
            CodeText(++counter, code);
        } while (assigned.count(counter) != 0 || FindCodeEntryIn(codeTable, code) >= 0);
        assigned.insert(counter);
        texts.emplace_back(placeholder.entry, code + codeTable[placeholder.entry].text);
    }
    codeTable.ReplaceTexts(std::move(texts));
}

} // namespace

void ReadRemoteFiles(FileSystem& fs, const std::string& moduleFolder, StringList& remoteNames,
                     StringList& codeTable, StringList& rawTable, RemoteFilesRead* read) {
    remoteNames.Clear();
    codeTable.Clear();
    rawTable.Clear();
    if (read)
        read->Clear();
    std::vector<Placeholder> placeholders;
    std::string text;
    int32_t file = 0;
    for (const std::string& name : ListRemoteFiles(fs, moduleFolder)) {
        const std::string path = moduleFolder + name;
        IniDocument doc; // unreadable: an empty document
        if (fs.ReadFile(path, &text) == ReadResult::Ok) {
            doc = IniDocument::Parse(text);
            if (read)
                read->Add(fs.IdentityOf(path), doc);
        }
        ReadRemoteFile(doc, file++, remoteNames, codeTable, rawTable, placeholders);
    }
    if (!placeholders.empty())
        AssignPlaceholderCodes(codeTable, placeholders);
}
