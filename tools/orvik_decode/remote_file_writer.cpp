#include "tools/orvik_decode/remote_file_writer.h"

#include "config/remote_files.h"

namespace {

// The folder as the writer sees it: nothing in it but the one file (when it exists).
class OneFileFolder final : public FileSystem {
  public:
    OneFileFolder(FileSystem& fs, std::string folder, std::string path)
        : fs_(fs), folder_(std::move(folder)), path_(std::move(path)) {}

    ReadResult ReadFile(const std::string& path, std::string* contents) override {
        return fs_.ReadFile(path, contents);
    }
    bool WriteFile(const std::string& path, std::string_view contents) override {
        return path == path_ && fs_.WriteFile(path, contents);
    }
    std::vector<std::string> ListFolder(const std::string&, const std::string&) override {
        if (!fs_.Exists(path_))
            return {};
        return {path_.substr(folder_.size())};
    }
    bool Exists(const std::string& path) override { return fs_.Exists(path); }
    std::string IdentityOf(const std::string& path) override { return fs_.IdentityOf(path); }

  private:
    FileSystem& fs_;
    std::string folder_;
    std::string path_;
};

} // namespace

bool WriteRemoteFile(FileSystem& fs, const std::string& folder, const std::string& remote,
                     const std::vector<KeyListRow>& rows, std::string* path, std::string* why) {
    *path = RemoteFileName(folder, remote);
    OneFileFolder only(fs, folder, *path);
    std::vector<SaveProblem> problems;
    if (WriteKeyList(only, folder, rows, &problems))
        return true;
    if (why) {
        const SaveProblem::Kind kind = problems.empty() ? SaveProblem::Kind::NotWritten : problems[0].kind;
        if (kind == SaveProblem::Kind::TooLarge)
            *why = "it would be " + std::to_string(SavedRemoteFileBytes(only, folder, rows, remote)) +
                   " bytes, more than the " + std::to_string(kMaxConfigFileBytes) + " the plug-in reads";
        else if (kind == SaveProblem::Kind::RescueCopyExists)
            *why = TemporaryPathFor(*path) + " stands beside it (what an earlier save could not put in place)";
        else
            *why = "it cannot be written";
    }
    return false;
}
