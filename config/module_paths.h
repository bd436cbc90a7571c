#pragma once
// Where the configuration files live: beside the plug-in module.
#include <string>
#include <string_view>

// Folder part of the module's path, with its trailing separator ('\\', '/' or a drive's ':');
// empty when the path has none.
std::string ModuleFolder(std::string_view modulePath);

// False for an empty path or one without a folder (the module's name could not be queried): the
// configuration files would then be looked for, and written, in the host's current folder.
bool KnowsModuleFolder(std::string_view modulePath);

// The module's path with its extension replaced by ".ini" (added when it has none).
std::string SettingsFileName(std::string_view modulePath);
