#pragma once
// The file operations the configuration code needs, behind one seam: the plug-in uses the ANSI
// Win32 API (file names are the host's ANSI bytes, never converted), native builds and tests use
// the portable implementation, and tests substitute failing ones on purpose.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Larger files are refused: no remote definition or settings file comes near, and a stray huge
// file must not exhaust the host's address space. The plug-in never writes a larger one either,
// since it could not read it back (WriteConfigFile).
constexpr size_t kMaxConfigFileBytes = 1u << 20;
// Taken as 64 bits: a file size cut to a 32-bit size_t could pass for a small one.
constexpr bool WithinConfigFileLimit(uint64_t bytes) {
    return bytes <= kMaxConfigFileBytes;
}

// Tells the first byte of a double-byte character of the code page that file names are in.
using LeadByteTest = bool (*)(unsigned char byte);

// What became of a file that was to be written.
enum class WriteResult {
    Written,    // it holds the new content
    NotWritten, // it is as it was (a file that did not exist still does not)
    // Not written, it is as it was: the new content is larger than kMaxConfigFileBytes, so no
    // reading would take it.
    TooLarge,
    // Not written, it is as it was: a file stands under TemporaryPathFor(path), most likely the
    // content an earlier replacement left there, and the write would have overwritten it.
    RescueCopyInTheWay,
    // The old content has left the file's name and the new content could not take its place: it
    // is in TemporaryPathFor(path).
    InTemporaryFile,
    Lost, // the old content has left the file's name, and the new content is gone too
};

enum class ReadResult {
    Ok,
    Missing, // nothing of that name exists
    Failed,  // it exists but cannot be read: a directory, no permission, too large, I/O error
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Reads the whole file into *contents (cleared first).
    virtual ReadResult ReadFile(const std::string& path, std::string* contents) = 0;

    // Writes the whole file safely: first to a temporary file beside it, which then takes the
    // old one's place, so that a crash or a full disk never leaves a half-written file. Where the
    // system has them, the old file's attributes and security stay with the new content. On false
    // the old file is unchanged and no temporary file is left behind, except where the system's
    // replacement fails half-way (see WriteFileReporting).
    virtual bool WriteFile(const std::string& path, std::string_view contents) = 0;

    // WriteFile, telling what became of the file when it could not be written. Where a failed
    // write always leaves the old file in place (the portable implementation), that is NotWritten.
    virtual WriteResult WriteFileReporting(const std::string& path, std::string_view contents) {
        return WriteFile(path, contents) ? WriteResult::Written : WriteResult::NotWritten;
    }

    // Names (not paths) of the entries of folder that match the wildcard pattern ('*' and '?',
    // letter case ignored), directories included, in the order the system lists them. folder
    // ends with a path separator. A missing folder gives no names.
    virtual std::vector<std::string> ListFolder(const std::string& folder, const std::string& pattern) = 0;

    // True when a file or a directory of that name exists.
    virtual bool Exists(const std::string& path) = 0;

    // A text that is equal for two paths exactly when they name the same file on this system:
    // case-folded where the system ignores letter case.
    virtual std::string IdentityOf(const std::string& path) = 0;

    // The lead bytes of double-byte characters in file names; null where every character is one
    // byte (or names are not converted at all), as in the portable implementation.
    virtual LeadByteTest LeadBytes() { return nullptr; }
};

// The portable implementation (std::filesystem), for native builds and tests.
FileSystem& StdFileSystem();

// Temporary file used by WriteFile; its name does not end in ".cfg" or ".ini", so a crash between
// writing and moving never leaves a file that the readers would take up. When a replacement fails
// half-way, the new content stays under this name: the rescue copy that the save box points to.
// Implementations never write over an existing file of this name.
inline std::string TemporaryPathFor(const std::string& path) {
    return path + ".tmp~";
}

// How the plug-in writes each of its files (settings, remote definitions, exports): refused with
// TooLarge when contents is larger than any reading takes, and with RescueCopyInTheWay while
// TemporaryPathFor(path) exists, which may be the only copy of an earlier save; otherwise what
// fs.WriteFileReporting tells. Either refusal leaves the file as it was.
inline WriteResult WriteConfigFile(FileSystem& fs, const std::string& path, std::string_view contents) {
    if (!WithinConfigFileLimit(contents.size()))
        return WriteResult::TooLarge;
    if (fs.Exists(TemporaryPathFor(path)))
        return WriteResult::RescueCopyInTheWay;
    return fs.WriteFileReporting(path, contents);
}
