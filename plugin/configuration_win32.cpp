#include "plugin/configuration_win32.h"

#include "config/configuration.h"
#include "config/file_system_win32.h"
#include "plugin/plugin_win32.h"

void ReloadConfiguration() {
    LoadConfiguration(Win32FileSystem(), ModulePath);
}
