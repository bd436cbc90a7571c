// Writer of the dialog's key list into the remote definition files (second half of FormHide).
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "config/ini_file.h"
#include "config/remote_files.h"

namespace {

struct PendingFile {
    std::string path;
    std::string identity;
    IniDocument doc;
    std::string original; // as read, to skip files whose text does not change
    bool readable = false;
    bool existed = false;
    bool lostKeys = false; // it had a Code or Raw section
    bool loaded = false;   // the last load read it, and it still holds what was read
    bool receivesKeys = false;
    int32_t rawCounter = 0;
    // Raw entries of a file whose keys are kept (key name, a line break, pattern): not written twice.
    std::unordered_set<std::string> keptRaws;
};

std::string RawPair(std::string_view key, std::string_view pattern) {
    std::string pair(key);
    pair += '\n';
    pair += pattern;
    return pair;
}

// Keeps the keys of a file that the dialog's list never held: the new rows go in beside them.
void KeepKeys(PendingFile& file) {
    for (int32_t n = 1;; ++n) {
        const std::string number = std::to_string(n);
        if (!file.doc.HasKey("Raw", "Key" + number))
            break;
        file.keptRaws.insert(RawPair(file.doc.GetString("Raw", "Key" + number, ""),
                                     file.doc.GetString("Raw", "Raw" + number, "")));
        file.rawCounter = n;
    }
}

class PendingFiles {
  public:
    PendingFiles(FileSystem& fs, const RemoteFilesRead* read) : fs_(fs), read_(read) {}
    PendingFiles(const PendingFiles&) = delete;

    // The file for path, read and stripped of its keys on first use. Two spellings of one file
    // (letter case on Windows) share one entry, so it is never written twice.
    PendingFile& Open(const std::string& path) {
        const std::string identity = fs_.IdentityOf(path);
        const auto found = index_.find(identity);
        if (found != index_.end())
            return files_[found->second];
        PendingFile file;
        file.path = path;
        file.identity = identity;
        const ReadResult read = fs_.ReadFile(path, &file.original);
        file.readable = read != ReadResult::Failed;
        file.existed = read == ReadResult::Ok;
        file.doc = IniDocument::Parse(file.original);
        file.loaded = file.existed && (!read_ || read_->Holds(identity, file.doc));
        if (file.existed && !file.loaded) {
            // Copied in, edited by hand or unreadable at the load: the list never showed its
            // keys, so none of them can have been removed in it.
            KeepKeys(file);
        } else {
            const bool hadCodes = file.doc.EraseSection("Code");
            const bool hadRaws = file.doc.EraseSection("Raw");
            file.lostKeys = hadCodes || hadRaws;
        }
        index_.emplace(identity, files_.size());
        files_.push_back(std::move(file));
        return files_.back();
    }

    std::vector<PendingFile>& Files() { return files_; }

  private:
    FileSystem& fs_;
    const RemoteFilesRead* read_;
    std::unordered_map<std::string, size_t> index_;
    std::vector<PendingFile> files_;
};

void AddRow(PendingFile& file, const KeyListRow& row) {
    // A code that cannot be an INI key (holding '=' or starting with '[') is not written: it
    // could never read back as itself. A row with nothing written gives its remote no file.
    if (!row.codeText.empty() && file.doc.SetString("Code", row.codeText, row.keyName))
        file.receivesKeys = true;
    if (row.rawText.empty())
        return;
    file.receivesKeys = true;
    if (!file.keptRaws.count(RawPair(row.keyName, row.rawText))) {
        const std::string n = std::to_string(++file.rawCounter);
        file.doc.SetString("Raw", "Key" + n, row.keyName);
        file.doc.SetString("Raw", "Raw" + n, row.rawText);
    }
}

// A file is written when its keys change and its text with them; one that could not be read is
// never replaced. A file without keys is left byte for byte as it is, whatever it holds, and so
// is one that receives no keys and was not read by the last load (it failed to read then, or it
// was copied in or edited since): its keys were never in the dialog's list. Such a file that
// receives keys keeps its own beside them.
bool NeedsWrite(const PendingFile& file) {
    if (!file.readable || !file.existed)
        return file.receivesKeys;
    if (!file.receivesKeys && !file.loaded)
        return false;
    return (file.receivesKeys || file.lostKeys) && file.doc.Serialize() != file.original;
}

WriteResult Write(FileSystem& fs, const PendingFile& file, RemoteFilesRead* read) {
    if (!file.readable)
        return WriteResult::NotWritten;
    const WriteResult result = WriteConfigFile(fs, file.path, file.doc.Serialize());
    if (result == WriteResult::Written && read)
        read->Add(file.identity, file.doc);
    return result;
}

// Writes what needs writing and returns what could not be written.
std::vector<SaveProblem> WritePending(FileSystem& fs, PendingFiles& pending, RemoteFilesRead* read,
                                      std::vector<std::string>& written) {
    std::vector<SaveProblem> problems;
    const auto write = [&](const PendingFile& file) {
        const WriteResult result = Write(fs, file, read);
        if (result == WriteResult::Written)
            written.push_back(file.path);
        else
            problems.push_back(ProblemOf(file.path, result));
    };
    for (const PendingFile& file : pending.Files()) {
        if (file.receivesKeys && NeedsWrite(file))
            write(file);
    }
    // Files that only lose keys: their keys now stand in the files above, so they are emptied
    // only once all of those have been written; otherwise they keep their keys for the next load.
    const bool keysSaved = problems.empty();
    for (const PendingFile& file : pending.Files()) {
        if (file.receivesKeys || !NeedsWrite(file))
            continue;
        if (keysSaved)
            write(file);
        else
            problems.push_back({file.path, SaveProblem::Kind::LeftUnchanged});
    }
    return problems;
}

// Puts the rows, in list order, into the files of their remotes: Main / Name on each switch of
// file, then the row's code and raw entry. With onlyIdentity, only the rows of that one file.
void AddRows(FileSystem& fs, const std::string& moduleFolder, const std::vector<KeyListRow>& rows,
             PendingFiles& pending, const std::string* onlyIdentity) {
    std::string currentPath;
    PendingFile* current = nullptr;
    bool switched = false;
    for (const KeyListRow& row : rows) {
        const std::string path = RemoteFileName(moduleFolder, row.remoteName, fs.LeadBytes());
        if (!switched || path != currentPath) {
            switched = true;
            currentPath = path;
            current = !onlyIdentity || fs.IdentityOf(path) == *onlyIdentity ? &pending.Open(path) : nullptr;
            if (current)
                current->doc.SetString("Main", "Name", row.remoteName);
        }
        if (current)
            AddRow(*current, row);
    }
}

} // namespace

size_t SavedRemoteFileBytes(FileSystem& fs, const std::string& moduleFolder,
                            const std::vector<KeyListRow>& rows, std::string_view remote,
                            const RemoteFilesRead* read) {
    const std::string path = RemoteFileName(moduleFolder, remote, fs.LeadBytes());
    const std::string identity = fs.IdentityOf(path);
    PendingFiles pending(fs, read);
    AddRows(fs, moduleFolder, rows, pending, &identity);
    const PendingFile& file = pending.Open(path);
    return NeedsWrite(file) ? file.doc.Serialize().size() : file.original.size();
}

bool WriteKeyList(FileSystem& fs, const std::string& moduleFolder, const std::vector<KeyListRow>& rows,
                  std::vector<SaveProblem>* problems, RemoteFilesRead* read) {
    std::vector<SaveProblem> found;
    std::vector<std::string> listed;
    std::vector<std::string> written;
    PendingFiles pending(fs, read);
    try {
        for (const std::string& name : ListRemoteFiles(fs, moduleFolder))
            listed.push_back(moduleFolder + name);
        for (const std::string& path : listed)
            pending.Open(path);
        AddRows(fs, moduleFolder, rows, pending, nullptr);
        found = WritePending(fs, pending, read, written);
    } catch (...) {
        // Out of memory, most likely: every file that was not written by then counts as not
        // written, the files met so far and every file of the folder (or the folder's remote
        // files as a whole, when not even the listing was had).
        found.clear();
        std::unordered_set<std::string> reported(written.begin(), written.end());
        for (const PendingFile& file : pending.Files())
            listed.push_back(file.path);
        for (const std::string& path : listed) {
            if (reported.insert(path).second)
                found.push_back({path, SaveProblem::Kind::NotWritten});
        }
        if (found.empty())
            found.push_back({moduleFolder + "*.cfg", SaveProblem::Kind::NotWritten});
    }
    const bool ok = found.empty();
    if (problems)
        *problems = std::move(found);
    return ok;
}
