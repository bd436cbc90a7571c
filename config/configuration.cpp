#include "config/configuration.h"

#include "config/module_paths.h"
#include "config/remote_files.h"
#include "config/rescue_copies.h"
#include "config/settings_file.h"

namespace {

RemoteFilesRead LastLoadRead;
std::vector<std::string> LastLoadRescued;

} // namespace

const RemoteFilesRead& LoadedRemoteFiles() {
    return LastLoadRead;
}

const std::vector<std::string>& FilesOnlyInRescueCopies() {
    return LastLoadRescued;
}

void ForgetLoadedRemoteFiles() {
    LastLoadRead.Clear();
}

namespace {

void ClearKeyTable() {
    if (RemoteNames && CodeTable && RawTable) {
        RemoteNames->Clear();
        CodeTable->Clear();
        RawTable->Clear();
    }
}

} // namespace

bool LoadConfiguration(FileSystem& fs, const std::string& modulePath) {
    LastLoadRead.Clear();
    LastLoadRescued.clear();
    if (!KnowsModuleFolder(modulePath)) {
        // No file is looked for in the host's current folder: the settings read as from a missing
        // file, and the key table is empty.
        Settings.Assign(ReadSettings(IniDocument(), Settings.Snapshot()));
        ClearKeyTable();
        return true;
    }
    try {
        Settings.Assign(ReadSettingsFile(fs, modulePath, Settings.Snapshot()));
        if (RemoteNames && CodeTable && RawTable)
            ReadRemoteFiles(fs, ModuleFolder(modulePath), *RemoteNames, *CodeTable, *RawTable, &LastLoadRead);
        LastLoadRescued = FindFilesOnlyInRescueCopies(fs, modulePath);
        return true;
    } catch (...) {
        // Out of memory half-way: no half-built table, and nothing to save against.
        ClearKeyTable();
        LastLoadRead.Clear();
        return false;
    }
}

bool SaveConfiguration(FileSystem& fs, const std::string& modulePath, const SettingsValues& values,
                       const std::string& lastRemoteControl, const std::vector<KeyListRow>* rows,
                       RemoteFilesRead& shownFiles, std::vector<SaveProblem>* problems) {
    std::vector<SaveProblem> found;
    // Nowhere to save to: writing beside an unknown module would write into the current folder.
    if (KnowsModuleFolder(modulePath)) {
        const std::string settingsFile = SettingsFileName(modulePath);
        try {
            const WriteResult settings = WriteSettingsFile(fs, modulePath, values, lastRemoteControl);
            if (settings != WriteResult::Written)
                found.push_back(ProblemOf(settingsFile, settings));
        } catch (...) {
            found.push_back({settingsFile, SaveProblem::Kind::NotWritten});
        }
        std::vector<SaveProblem> remoteFiles;
        if (rows)
            WriteKeyList(fs, ModuleFolder(modulePath), *rows, &remoteFiles, &shownFiles);
        found.insert(found.end(), remoteFiles.begin(), remoteFiles.end());
    }
    const bool ok = found.empty();
    if (problems)
        *problems = std::move(found);
    return ok;
}
