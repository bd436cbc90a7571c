#include "config/module_paths.h"

namespace {

size_t FolderLength(std::string_view path) {
    const size_t sep = path.find_last_of("\\/:");
    return sep == std::string_view::npos ? 0 : sep + 1;
}

} // namespace

std::string ModuleFolder(std::string_view modulePath) {
    return std::string(modulePath.substr(0, FolderLength(modulePath)));
}

bool KnowsModuleFolder(std::string_view modulePath) {
    return FolderLength(modulePath) > 0;
}

std::string SettingsFileName(std::string_view modulePath) {
    const size_t dot = modulePath.find_last_of('.');
    const bool hasExtension = dot != std::string_view::npos && dot >= FolderLength(modulePath);
    return std::string(hasExtension ? modulePath.substr(0, dot) : modulePath) + ".ini";
}
