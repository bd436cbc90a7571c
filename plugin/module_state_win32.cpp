#include "plugin/plugin_win32.h"

// Values at load; the host must call Close before it unloads the module.
const char* const PluginName = "OrvikPlug-USB";
HWND HostWindow = nullptr;
std::string ModulePath;
bool HostCompatible = false;
bool Running = false;
bool Stopping = false;
std::atomic<bool> SetupOpen{false};
TSetupForm* SetupForm = nullptr;
KeyEventRecord KeyEventRecordData{};

HANDLE DispatchThread = nullptr;
DWORD DispatchThreadId = 0;
std::atomic<int32_t> DispatchStop{0};
HANDLE KeySignal = nullptr;

HINSTANCE PluginInstance = nullptr;

// Loading and unloading do no plug-in work.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        PluginInstance = instance;
    return TRUE;
}
