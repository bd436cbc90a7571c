#include "config/file_system_win32.h"

#include <windows.h>

#include "config/replace_recovery.h"

namespace {

bool IsAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

// The attributes of the old file that the new content takes along from the start, so that not
// even a failed replacement leaves a hidden file visible; not every ReplaceFile carries them over.
DWORD AttributesToKeep(DWORD oldAttributes) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD kept = oldAttributes == INVALID_FILE_ATTRIBUTES ? 0 : oldAttributes & kKept;
    return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

// Puts the written temporary file in the place of path. An existing file is replaced, not moved
// over: it keeps its identity (attributes such as hidden, security, other hard links), which a
// move would swap for the temporary file's. Only a new file is moved into place. A failed
// replacement is finished by looking at what exists (RecoverFailedReplace).
WriteResult PutInPlace(const std::string& temporary, const std::string& path, DWORD oldAttributes) {
    if (oldAttributes == INVALID_FILE_ATTRIBUTES) {
        if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))
            return WriteResult::Written;
        DeleteFileA(temporary.c_str());
        return WriteResult::NotWritten;
    }
    if (ReplaceFileA(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr))
        return WriteResult::Written;
    const DWORD error = GetLastError();
    const auto exists = [](const std::string& name) {
        return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    const ReplaceRecovery recovery = RecoverFailedReplace(error, exists(path), exists(temporary));
    bool stepDone = true;
    if (recovery.step == RecoveryStep::DeleteTemporary)
        stepDone = DeleteFileA(temporary.c_str()) != FALSE;
    else if (recovery.step == RecoveryStep::MoveTemporaryIntoPlace)
        stepDone = MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    return stepDone ? recovery.done : recovery.failed;
}

class Win32FileSystemImpl final : public FileSystem {
  public:
    ReadResult ReadFile(const std::string& path, std::string* contents) override {
        contents->clear();
        // Directories cannot be opened without FILE_FLAG_BACKUP_SEMANTICS, so they fail here.
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) && !Exists(path)
                       ? ReadResult::Missing
                       : ReadResult::Failed;
        }
        ReadResult result = ReadResult::Failed;
        LARGE_INTEGER size;
        if (GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
            WithinConfigFileLimit(static_cast<uint64_t>(size.QuadPart))) {
            contents->resize(static_cast<size_t>(size.QuadPart));
            size_t done = 0;
            while (done < contents->size()) {
                DWORD got = 0;
                if (!::ReadFile(file, contents->data() + done, static_cast<DWORD>(contents->size() - done),
                                &got, nullptr) ||
                    got == 0)
                    break;
                done += got;
            }
            if (done == contents->size())
                result = ReadResult::Ok;
            else
                contents->clear();
        }
        CloseHandle(file);
        return result;
    }

    bool WriteFile(const std::string& path, std::string_view contents) override {
        return WriteFileReporting(path, contents) == WriteResult::Written;
    }

    WriteResult WriteFileReporting(const std::string& path, std::string_view contents) override {
        // A read-only file or a directory keeps what it is; not every MoveFileEx refuses them.
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
            return WriteResult::NotWritten;
        const std::string temporary = TemporaryPathFor(path);
        // A file of that name may be the rescue copy of an earlier save, perhaps the only copy of
        // what the user saved: it is never truncated, not even when it appears meanwhile.
        HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  AttributesToKeep(attributes), nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return GetLastError() == ERROR_FILE_EXISTS ? WriteResult::RescueCopyInTheWay
                                                       : WriteResult::NotWritten;
        bool ok = true;
        size_t done = 0;
        while (ok && done < contents.size()) {
            DWORD written = 0;
            ok = ::WriteFile(file, contents.data() + done, static_cast<DWORD>(contents.size() - done),
                             &written, nullptr) &&
                 written > 0;
            done += written;
        }
        // The data must be on the disk before the old file is replaced by it.
        ok = ok && FlushFileBuffers(file);
        CloseHandle(file);
        if (!ok) {
            DeleteFileA(temporary.c_str());
            return WriteResult::NotWritten;
        }
        return PutInPlace(temporary, path, attributes);
    }

    std::vector<std::string> ListFolder(const std::string& folder, const std::string& pattern) override {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((folder + pattern).c_str(), &found);
        if (find == INVALID_HANDLE_VALUE)
            return names;
        do {
            names.emplace_back(found.cFileName);
        } while (FindNextFileA(find, &found));
        FindClose(find);
        return names;
    }

    bool Exists(const std::string& path) override {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::string IdentityOf(const std::string& path) override {
        // File names ignore letter case in the ANSI code page, not only for ASCII letters.
        std::string folded = path;
        if (!folded.empty())
            CharUpperBuffA(folded.data(), static_cast<DWORD>(folded.size()));
        return folded;
    }

    LeadByteTest LeadBytes() override { return IsAnsiLeadByte; }
};

} // namespace

FileSystem& Win32FileSystem() {
    static Win32FileSystemImpl instance;
    return instance;
}
