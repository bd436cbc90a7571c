#include "plugin/configuration_win32.h"

void ReloadConfiguration() {}
