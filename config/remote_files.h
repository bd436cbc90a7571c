#pragma once
// Remote definition files: every "*.cfg" in the module folder, with the sections Main (Name),
// Code (code=key name) and Raw (Key<n>, Raw<n>, n = 1, 2, 3 ...).
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "config/file_system.h"
#include "config/ini_document.h"
#include "config/key_table.h"
#include "config/save_problems.h"

// Name of the remote a file without Main / Name stands for.
constexpr char kUnknownRemoteName[] = "<Unknown>";

// The file a remote's keys are written to: moduleFolder (with its trailing separator) followed
// by the remote name with space . , ; < > and every character a Windows file name cannot hold
// (\ / : * ? " | and control characters) replaced by '_', then ".cfg". An empty name gives "_",
// which is what a name of one blank gives too, and a reserved device name (CON, NUL, COM1 ...)
// gets a '_' appended; so the path always stays a plain file inside the folder. With isLeadByte,
// the byte after a lead byte is the second half of a double-byte character and stays as it is:
// '\\' and '|' are such bytes in the East Asian code pages.
std::string RemoteFileName(std::string_view moduleFolder, std::string_view remoteName,
                           LeadByteTest isLeadByte = nullptr);

// The remote definition files one load read, by identity (FileSystem::IdentityOf), each with a
// fingerprint of its keys: the lines of its Code and Raw sections as read. The key-list writer
// changes only these files (while their keys are still the ones read) and the files that receive
// keys: the keys of any other file were never in the dialog, and erasing them would lose them. An
// editor that only rewrote the line ends, a comment or the Main section changed no key.
class RemoteFilesRead {
  public:
    void Clear() { files_.clear(); }
    void Add(const std::string& identity, const IniDocument& contents);
    bool Holds(const std::string& identity, const IniDocument& contents) const;

  private:
    std::unordered_map<std::string, uint64_t> files_;
};

// Names of the remote definition files in listing order: entries matching "*.cfg", without those
// whose name begins with '.' and those whose name does not really end in ".cfg" (Windows also
// lists "x.cfg~" for "*.cfg" through its short name). Directories stay in the listing.
std::vector<std::string> ListRemoteFiles(FileSystem& fs, const std::string& moduleFolder);

// Clears the three lists and refills them from every remote definition file. A file that cannot
// be read (or a directory) gives a remote named "<Unknown>" without keys. *read (when given) is
// refilled with the files that were read.
void ReadRemoteFiles(FileSystem& fs, const std::string& moduleFolder, StringList& remoteNames,
                     StringList& codeTable, StringList& rawTable, RemoteFilesRead* read = nullptr);

// Writes the dialog's key list, in list order, into the remote definition files: erases Code and
// Raw of every listed file that the last load read (all listed files when read is null), then per
// row switches to RemoteFileName of its remote (writing
// Main / Name on each switch), writes Code / code = key name when the code is not empty and
// Raw / Key<n>, Raw<n> with a per-file counter when the raw text is not empty. A file that the
// last load did not read, or that changed since, keeps its keys: the rows go in beside them (a
// row's code replaces the name of the same code, a raw entry it already has is not repeated).
//
// Every file is replaced whole or not at all, through WriteConfigFile: one that would be larger than
// kMaxConfigFileBytes, or whose rescue copy (TemporaryPathFor) exists, is not written. Files that receive
// keys are written first; files that only lose their keys are written only when all of those succeeded, so a
// failed write never leaves keys in no file at all (they are reported as left unchanged). A file that could
// not be read is never replaced. Files that were not written although they should have been are returned in
// *problems with what became of them (the other files are still written); true when there are none. An
// exception on the way (out of memory) reports every file not yet written. Files written are recorded in
// *read with their new content, so that a second save before the next load treats them alike.
bool WriteKeyList(FileSystem& fs, const std::string& moduleFolder, const std::vector<KeyListRow>& rows,
                  std::vector<SaveProblem>* problems = nullptr, RemoteFilesRead* read = nullptr);

// The size in bytes that the definition file of remote (RemoteFileName(moduleFolder, remote)) would
// have after WriteKeyList(fs, moduleFolder, rows, ..., read): rows is the whole key list in list
// order (the rows of every remote name saved into that file count, whatever their spelling), read
// the files the list was filled from. What the file holds besides the keys (Main, other sections,
// comments, and its own keys when the list was not filled from it) is counted, and a file the save
// would leave as it is gives its present size. A file that cannot be read counts only what the rows
// would give it (the save never replaces it). Nothing is written. A result above
// kMaxConfigFileBytes (see WithinConfigFileLimit) means the save would refuse that file: an import
// can warn before it adds the rows.
size_t SavedRemoteFileBytes(FileSystem& fs, const std::string& moduleFolder,
                            const std::vector<KeyListRow>& rows, std::string_view remote,
                            const RemoteFilesRead* read = nullptr);
