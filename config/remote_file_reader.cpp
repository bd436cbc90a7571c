// Reader of the remote definition files: the second half of LoadConfiguration.
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "config/ascii_text.h"
#include "config/ini_document.h"
#include "config/remote_files.h"

namespace {

// Raw section by lower-cased key name, first occurrence winning like every other lookup; built
// once per file so that reading n entries costs n lookups, not n scans of the section.
std::unordered_map<std::string, std::string_view> IndexSection(const IniDocument& doc,
                                                               std::string_view section) {
    std::unordered_map<std::string, std::string_view> index;
    for (const IniEntry& entry : doc.ReadSection(section))
        index.emplace(AsciiLowerCopy(entry.key), entry.value);
    return index;
}

// Code entry of this remote whose key name equals keyName exactly (letter case included). Only
// entries from firstOfFile on can carry the tag of the file being read.
int32_t FindKeyOfRemote(const StringList& codeTable, int32_t firstOfFile, int32_t remote,
                        std::string_view keyName) {
    for (int32_t i = firstOfFile; i < codeTable.Count(); ++i) {
        if (codeTable[i].tag == remote && TrimmedKeyNameOf(codeTable[i].text) == keyName)
            return i;
    }
    return -1;
}

// Code parts in the table, upper-cased, so that the search for a free placeholder code costs one
// lookup per candidate instead of a scan of the whole table. Filled only once a placeholder is
// needed, and then kept up with the table.
class UsedCodes {
  public:
    explicit UsedCodes(const StringList& table) : table_(table) {}

    bool Contains(const char* code) {
        for (; indexed_ < table_.Count(); ++indexed_) {
            const std::string_view entry = table_[indexed_].text;
            const size_t eq = entry.find('=');
            if (eq != std::string_view::npos)
                codes_.insert(AsciiUpperCopy(entry.substr(0, eq)));
        }
        return codes_.count(code) != 0;
    }

  private:
    const StringList& table_;
    int32_t indexed_ = 0;
    std::unordered_set<std::string> codes_;
};

// A raw key without a code gets the next code 1, 2, 3 ... (counted per file) that no entry holds.
int32_t AddPlaceholder(StringList& codeTable, UsedCodes& used, int32_t remote, std::string_view keyName,
                       KeyCode* counter) {
    char text[CodeDigits + 1];
    do {
        ++*counter;
        CodeText(*counter, text);
    } while (used.Contains(text));
    std::string entry(text);
    entry += '=';
    entry += keyName;
    return codeTable.Add(std::move(entry), remote);
}

void ReadRemoteFile(const IniDocument& doc, StringList& remoteNames, StringList& codeTable,
                    StringList& rawTable, UsedCodes& used) {
    const int32_t remote = remoteNames.Add(doc.GetString("Main", "Name", kUnknownRemoteName));
    const int32_t firstOfFile = codeTable.Count();
    for (const IniEntry& entry : doc.ReadSection("Code")) {
        std::string text(entry.key);
        text += '=';
        text += entry.value;
        codeTable.Add(std::move(text), remote);
    }

    const auto raw = IndexSection(doc, "Raw");
    KeyCode placeholder = 0;
    for (size_t n = 1;; ++n) {
        const auto key = raw.find("key" + std::to_string(n));
        if (key == raw.end())
            break;
        const auto pattern = raw.find("raw" + std::to_string(n));
        const std::string_view keyName = key->second;
        int32_t entry = FindKeyOfRemote(codeTable, firstOfFile, remote, keyName);
        if (entry < 0)
            entry = AddPlaceholder(codeTable, used, remote, keyName, &placeholder);
        rawTable.Add(pattern == raw.end() ? std::string() : AsciiUpperCopy(pattern->second), entry);
    }
}

} // namespace

void ReadRemoteFiles(FileSystem& fs, const std::string& moduleFolder, StringList& remoteNames,
                     StringList& codeTable, StringList& rawTable, RemoteFilesRead* read) {
    remoteNames.Clear();
    codeTable.Clear();
    rawTable.Clear();
    if (read)
        read->Clear();
    UsedCodes used(codeTable);
    std::string text;
    for (const std::string& name : ListRemoteFiles(fs, moduleFolder)) {
        const std::string path = moduleFolder + name;
        IniDocument doc; // unreadable: an empty document
        if (fs.ReadFile(path, &text) == ReadResult::Ok) {
            doc = IniDocument::Parse(text);
            if (read)
                read->Add(fs.IdentityOf(path), text);
        }
        ReadRemoteFile(doc, remoteNames, codeTable, rawTable, used);
    }
}
