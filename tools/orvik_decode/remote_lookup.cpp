#include "tools/orvik_decode/remote_lookup.h"

#include "config/remote_files.h"

namespace {

// The files given, listed as one folder: names "0.cfg", "1.cfg" ... in the order given, each
// read from its own path, so that the plug-in's reader takes them as they are.
class GivenFiles final : public FileSystem {
  public:
    GivenFiles(FileSystem& fs, const std::vector<std::string>& paths) : fs_(fs), paths_(paths) {}

    ReadResult ReadFile(const std::string& path, std::string* contents) override {
        const size_t index = IndexOf(path);
        return index < paths_.size() ? fs_.ReadFile(paths_[index], contents) : ReadResult::Failed;
    }
    bool WriteFile(const std::string&, std::string_view) override { return false; }
    std::vector<std::string> ListFolder(const std::string&, const std::string&) override {
        std::vector<std::string> names;
        for (size_t k = 0; k < paths_.size(); ++k)
            names.push_back(std::to_string(k) + ".cfg");
        return names;
    }
    bool Exists(const std::string& path) override { return IndexOf(path) < paths_.size(); }
    std::string IdentityOf(const std::string& path) override { return path; }

  private:
    size_t IndexOf(const std::string& name) const {
        size_t index = 0;
        for (char c : name.substr(0, name.find('.'))) {
            if (c < '0' || c > '9')
                return paths_.size();
            index = index * 10 + static_cast<size_t>(c - '0');
        }
        return index;
    }

    FileSystem& fs_;
    const std::vector<std::string>& paths_;
};

// Points the plug-in's key table at the loaded lists while a lookup runs, so that the lookup is
// the plug-in's own; the tool has one thread.
class UsingRemotes {
  public:
    explicit UsingRemotes(const LoadedRemotes& remotes) : saved_{RemoteNames, CodeTable, RawTable} {
        RemoteNames = const_cast<StringList*>(&remotes.names);
        CodeTable = const_cast<StringList*>(&remotes.codes);
        RawTable = const_cast<StringList*>(&remotes.raws);
    }
    ~UsingRemotes() { RemoteNames = saved_[0], CodeTable = saved_[1], RawTable = saved_[2]; }
    UsingRemotes(const UsingRemotes&) = delete;
    UsingRemotes& operator=(const UsingRemotes&) = delete;

  private:
    StringList* saved_[3];
};

std::string KeyAt(int32_t entry) {
    if (entry < 0)
        return "";
    return std::string(KeyNameAt(entry)) + " (" + std::string(RemoteNameAt(entry)) + ")";
}

} // namespace

void LoadRemoteFiles(FileSystem& fs, const std::vector<std::string>& paths, LoadedRemotes& remotes) {
    GivenFiles given(fs, paths);
    ReadRemoteFiles(given, "", remotes.names, remotes.codes, remotes.raws);
}

std::string KeyForCode(const LoadedRemotes& remotes, KeyCode code) {
    if (code == 0)
        return "";
    const UsingRemotes using_(remotes);
    char text[CodeDigits + 1];
    CodeText(code, text);
    return KeyAt(FindCodeEntry(text));
}

std::string KeyForRawSignature(const LoadedRemotes& remotes, const std::string& signature) {
    if (signature.empty())
        return "";
    const UsingRemotes using_(remotes);
    const int32_t raw = FindRawEntry(signature.c_str());
    if (raw < 0)
        return "";
    char text[CodeDigits + 1];
    CodeText(CodeOfRawEntry(raw), text);
    return KeyAt(FindCodeEntry(text));
}
