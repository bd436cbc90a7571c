#include "config/remote_export.h"

#include "config/remote_files.h"

namespace {

// The file system the key-list writer sees during an export: an empty folder in which every
// remote name stands for the one file at path. Nothing is read, so nothing of an older file
// there is kept, and the writer's one write goes to path through the real file system.
class OneFileFolder final : public FileSystem {
  public:
    OneFileFolder(FileSystem& fs, const std::string& path) : fs_(fs), path_(path) {}

    ReadResult ReadFile(const std::string&, std::string* contents) override {
        contents->clear();
        return ReadResult::Missing;
    }
    bool WriteFile(const std::string&, std::string_view contents) override {
        ++writes_;
        return fs_.WriteFile(path_, contents);
    }
    std::vector<std::string> ListFolder(const std::string&, const std::string&) override { return {}; }
    bool Exists(const std::string&) override { return false; }
    std::string IdentityOf(const std::string&) override { return path_; }
    LeadByteTest LeadBytes() override { return fs_.LeadBytes(); }

    int Writes() const { return writes_; }

  private:
    FileSystem& fs_;
    const std::string& path_;
    int writes_ = 0;
};

} // namespace

bool ExportRemoteFile(FileSystem& fs, const std::string& path, const std::vector<KeyListRow>& rows) {
    OneFileFolder folder(fs, path);
    const bool written = WriteKeyList(folder, "", rows);
    return written && folder.Writes() > 0;
}
