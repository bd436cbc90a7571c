#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "config/file_system.h"
#include "config/wildcard.h"

namespace fs = std::filesystem;

namespace {

class StdFileSystemImpl final : public FileSystem {
  public:
    ReadResult ReadFile(const std::string& path, std::string* contents) override {
        contents->clear();
        std::error_code ec;
        const fs::file_status status = fs::status(path, ec);
        if (!fs::exists(status))
            return ReadResult::Missing;
        if (!fs::is_regular_file(status))
            return ReadResult::Failed;
        const auto size = fs::file_size(path, ec);
        if (ec || !WithinConfigFileLimit(size))
            return ReadResult::Failed;
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return ReadResult::Failed;
        contents->resize(static_cast<size_t>(size));
        in.read(contents->data(), static_cast<std::streamsize>(size));
        if (static_cast<uint64_t>(in.gcount()) != size) {
            contents->clear();
            return ReadResult::Failed;
        }
        return ReadResult::Ok;
    }

    bool WriteFile(const std::string& path, std::string_view contents) override {
        std::error_code ec;
        const fs::file_status status = fs::status(path, ec);
        // A rename would replace a read-only file as well; refuse, as Windows does.
        if (fs::exists(status) && (!fs::is_regular_file(status) ||
                                   (status.permissions() & fs::perms::owner_write) == fs::perms::none))
            return false;
        const std::string temporary = TemporaryPathFor(path);
        // Never over a rescue copy: it may hold the only copy of an earlier save.
        if (fs::exists(fs::symlink_status(temporary, ec)))
            return false;
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            if (!out)
                return false;
            out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
            out.flush();
            if (!out) {
                out.close();
                fs::remove(temporary, ec);
                return false;
            }
        }
        fs::rename(temporary, path, ec);
        if (ec) {
            fs::remove(temporary, ec);
            return false;
        }
        return true;
    }

    std::vector<std::string> ListFolder(const std::string& folder, const std::string& pattern) override {
        std::vector<std::string> names;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            // Where paths are wide (Windows), a name the ANSI code page cannot hold throws.
            try {
                std::string name = it->path().filename().string();
                if (MatchesWildcard(name, pattern))
                    names.push_back(std::move(name));
            } catch (const std::exception&) {
            }
        }
        return names;
    }

    bool Exists(const std::string& path) override {
        std::error_code ec;
        return fs::exists(fs::status(path, ec));
    }

    std::string IdentityOf(const std::string& path) override { return path; }
};

} // namespace

FileSystem& StdFileSystem() {
    static StdFileSystemImpl instance;
    return instance;
}
