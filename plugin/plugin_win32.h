#pragma once
// The plug-in's exports and its module-wide state. Everything here lives as long as the module
// is loaded; the host calls the exports on its own thread.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "plugin/host_records.h"

class TSetupForm;

extern "C" {
const char* __stdcall Open(const char* instanceName, HWND hostWindow, const void* hostInfo);
void __stdcall Close();
void __stdcall Start();
void __stdcall Stop();
void __stdcall Setup();
void __stdcall ActionManual(const ActionParams* params, uint32_t actionId);
// Exported as the data symbol _SetupForm: the dialog while Setup runs, else null.
extern TSetupForm* SetupForm;
}

// SetupForm is written on the host's thread while the worker threads may read it: published with
// release order and read with acquire order, so a thread that sees the form sees it whole.
inline void PublishSetupForm(TSetupForm* form) {
    __atomic_store_n(&SetupForm, form, __ATOMIC_RELEASE);
}
inline TSetupForm* CurrentSetupForm() {
    return __atomic_load_n(&SetupForm, __ATOMIC_ACQUIRE);
}

extern const char* const PluginName;
extern HWND HostWindow;
extern std::string ModulePath;
extern bool HostCompatible;
extern bool Running;
// Stop is ending the worker threads; its join lets sent messages (and so nested exports) through.
extern bool Stopping;
// Read by the dispatch thread while the host's thread runs Setup.
extern std::atomic<bool> SetupOpen;
extern KeyEventRecord KeyEventRecordData;

extern HANDLE DispatchThread;
extern DWORD DispatchThreadId;
extern std::atomic<int32_t> DispatchStop;
extern HANDLE KeySignal;

// This module's handle, kept by DllMain for the module path and resources.
extern HINSTANCE PluginInstance;
