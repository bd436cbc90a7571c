#include "config/rescue_copies.h"

#include "config/ascii_text.h"
#include "config/module_paths.h"

namespace {

constexpr std::string_view kRescuedRemote = ".cfg.tmp~";

bool IsRescuedRemoteName(std::string_view name) {
    return name.size() > kRescuedRemote.size() && name.front() != '.' &&
           SameIgnoringAsciiCase(name.substr(name.size() - kRescuedRemote.size()), kRescuedRemote);
}

} // namespace

std::vector<std::string> FindFilesOnlyInRescueCopies(FileSystem& fs, const std::string& modulePath) {
    std::vector<std::string> missing;
    if (!KnowsModuleFolder(modulePath))
        return missing;
    const auto onlyRescued = [&fs](const std::string& path) {
        return !fs.Exists(path) && fs.Exists(TemporaryPathFor(path));
    };
    const std::string settings = SettingsFileName(modulePath);
    if (onlyRescued(settings))
        missing.push_back(settings);
    const std::string folder = ModuleFolder(modulePath);
    const size_t suffix = TemporaryPathFor("").size();
    for (const std::string& name : fs.ListFolder(folder, "*.cfg.tmp~")) {
        if (!IsRescuedRemoteName(name))
            continue;
        const std::string path = folder + name.substr(0, name.size() - suffix);
        if (onlyRescued(path))
            missing.push_back(path);
    }
    return missing;
}
