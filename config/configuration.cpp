#include "config/configuration.h"

#include "config/module_paths.h"
#include "config/remote_files.h"
#include "config/settings_file.h"

namespace {

RemoteFilesRead LastLoadRead;

} // namespace

const RemoteFilesRead& LoadedRemoteFiles() {
    return LastLoadRead;
}

void ForgetLoadedRemoteFiles() {
    LastLoadRead.Clear();
}

void LoadConfiguration(FileSystem& fs, const std::string& modulePath) {
    LastLoadRead.Clear();
    if (!KnowsModuleFolder(modulePath)) {
        // No file is looked for in the host's current folder: the settings read as from a missing
        // file, and the key table is empty.
        Settings.Assign(ReadSettings(IniDocument(), Settings.Snapshot()));
        if (RemoteNames && CodeTable && RawTable) {
            RemoteNames->Clear();
            CodeTable->Clear();
            RawTable->Clear();
        }
        return;
    }
    Settings.Assign(ReadSettingsFile(fs, modulePath, Settings.Snapshot()));
    if (RemoteNames && CodeTable && RawTable)
        ReadRemoteFiles(fs, ModuleFolder(modulePath), *RemoteNames, *CodeTable, *RawTable, &LastLoadRead);
}

bool SaveConfiguration(FileSystem& fs, const std::string& modulePath, const SettingsValues& values,
                       const std::string& lastRemoteControl, const std::vector<KeyListRow>& rows,
                       RemoteFilesRead& shownFiles, std::vector<std::string>* failedPaths) {
    std::vector<std::string> failed;
    // Nowhere to save to: writing beside an unknown module would write into the current folder.
    if (KnowsModuleFolder(modulePath)) {
        if (!WriteSettingsFile(fs, modulePath, values, lastRemoteControl))
            failed.push_back(SettingsFileName(modulePath));
        std::vector<std::string> failedRemoteFiles;
        WriteKeyList(fs, ModuleFolder(modulePath), rows, &failedRemoteFiles, &shownFiles);
        failed.insert(failed.end(), failedRemoteFiles.begin(), failedRemoteFiles.end());
    }
    const bool ok = failed.empty();
    if (failedPaths)
        *failedPaths = std::move(failed);
    return ok;
}
