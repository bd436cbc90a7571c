// Writer of the dialog's key list into the remote definition files (second half of FormHide).
#include <string>
#include <unordered_map>

#include "config/ini_file.h"
#include "config/remote_files.h"

namespace {

struct PendingFile {
    std::string path;
    IniDocument doc;
    std::string original; // as read, to skip files whose text does not change
    bool readable = false;
    bool existed = false;
    bool lostKeys = false; // it had a Code or Raw section
    bool receivesKeys = false;
    int32_t rawCounter = 0;
};

class PendingFiles {
  public:
    explicit PendingFiles(FileSystem& fs) : fs_(fs) {}

    // The file for path, read and stripped of its keys on first use. Two spellings of one file
    // (letter case on Windows) share one entry, so it is never written twice.
    PendingFile& Open(const std::string& path) {
        const std::string identity = fs_.IdentityOf(path);
        const auto found = index_.find(identity);
        if (found != index_.end())
            return files_[found->second];
        PendingFile file;
        file.path = path;
        const ReadResult read = fs_.ReadFile(path, &file.original);
        file.readable = read != ReadResult::Failed;
        file.existed = read == ReadResult::Ok;
        file.doc = IniDocument::Parse(file.original);
        const bool hadCodes = file.doc.EraseSection("Code");
        const bool hadRaws = file.doc.EraseSection("Raw");
        file.lostKeys = hadCodes || hadRaws;
        index_.emplace(identity, files_.size());
        files_.push_back(std::move(file));
        return files_.back();
    }

    std::vector<PendingFile>& Files() { return files_; }

  private:
    FileSystem& fs_;
    std::unordered_map<std::string, size_t> index_;
    std::vector<PendingFile> files_;
};

void AddRow(PendingFile& file, const KeyListRow& row) {
    file.receivesKeys = true;
    // A code that cannot be an INI key (holding '=' or starting with '[') is not written: it
    // could never read back as itself.
    if (!row.codeText.empty())
        file.doc.SetString("Code", row.codeText, row.keyName);
    if (!row.rawText.empty()) {
        const std::string n = std::to_string(++file.rawCounter);
        file.doc.SetString("Raw", "Key" + n, row.keyName);
        file.doc.SetString("Raw", "Raw" + n, row.rawText);
    }
}

// A file is written when its keys change and its text with them; one that could not be read is
// never replaced. A file without keys is left byte for byte as it is, whatever it holds.
bool NeedsWrite(const PendingFile& file) {
    if (!file.readable || !file.existed)
        return file.receivesKeys;
    return (file.receivesKeys || file.lostKeys) && file.doc.Serialize() != file.original;
}

bool Write(FileSystem& fs, const PendingFile& file) {
    return file.readable && fs.WriteFile(file.path, file.doc.Serialize());
}

} // namespace

bool WriteKeyList(FileSystem& fs, const std::string& moduleFolder, const std::vector<KeyListRow>& rows,
                  std::vector<std::string>* failedPaths) {
    PendingFiles pending(fs);
    for (const std::string& name : ListRemoteFiles(fs, moduleFolder))
        pending.Open(moduleFolder + name);

    std::string currentPath;
    PendingFile* current = nullptr;
    for (const KeyListRow& row : rows) {
        const std::string path = RemoteFileName(moduleFolder, row.remoteName);
        if (!current || path != currentPath) {
            current = &pending.Open(path);
            currentPath = path;
            current->doc.SetString("Main", "Name", row.remoteName);
        }
        AddRow(*current, row);
    }

    std::vector<std::string> failed;
    for (const PendingFile& file : pending.Files()) {
        if (file.receivesKeys && NeedsWrite(file) && !Write(fs, file))
            failed.push_back(file.path);
    }
    // Files that only lose keys: their keys now stand in the files above, so they are emptied
    // only once all of those have been written; otherwise they keep their keys for the next load.
    const bool keysSaved = failed.empty();
    for (const PendingFile& file : pending.Files()) {
        if (!file.receivesKeys && NeedsWrite(file) && !(keysSaved && Write(fs, file)))
            failed.push_back(file.path);
    }
    if (failedPaths)
        *failedPaths = failed;
    return failed.empty();
}
