#include "config/configuration.h"

#include "config/module_paths.h"
#include "config/remote_files.h"
#include "config/settings_file.h"

void LoadConfiguration(FileSystem& fs, const std::string& modulePath) {
    Settings.Assign(ReadSettingsFile(fs, modulePath, Settings.Snapshot()));
    if (RemoteNames && CodeTable && RawTable)
        ReadRemoteFiles(fs, ModuleFolder(modulePath), *RemoteNames, *CodeTable, *RawTable);
}

bool SaveConfiguration(FileSystem& fs, const std::string& modulePath, const SettingsValues& values,
                       const std::string& lastRemoteControl, const std::vector<KeyListRow>& rows,
                       std::vector<std::string>* failedPaths) {
    std::vector<std::string> failed;
    if (!WriteSettingsFile(fs, modulePath, values, lastRemoteControl))
        failed.push_back(SettingsFileName(modulePath));
    std::vector<std::string> failedRemoteFiles;
    WriteKeyList(fs, ModuleFolder(modulePath), rows, &failedRemoteFiles);
    failed.insert(failed.end(), failedRemoteFiles.begin(), failedRemoteFiles.end());
    const bool ok = failed.empty();
    if (failedPaths)
        *failedPaths = std::move(failed);
    return ok;
}
