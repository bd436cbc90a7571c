// Open, Close, Start, Stop and Setup: the module's lifecycle as the host drives it.
#include <cstring>
#include <string>
#include <vector>

#include "config/key_table.h"
#include "decoding/dispatch_thread_win32.h"
#include "plugin/configuration_win32.h"
#include "plugin/host_version.h"
#include "plugin/message_box_win32.h"
#include "plugin/plugin_win32.h"
#include "plugin/thread_join_win32.h"
#include "receiver/driver_binding_win32.h"
#include "receiver/sampling_thread_win32.h"
#include "setup_dialog/setup_form_win32.h"

namespace {

void StoreInstanceName(const char* name) {
    std::memset(&KeyEventRecordData, 0, sizeof(KeyEventRecordData));
    const char* text = name ? name : "REMOTE";
    // Byte 63 stays zero: longer names are cut at 63 characters.
    std::strncpy(KeyEventRecordData.instanceName, text, kInstanceNameMax);
}

void StoreModulePath() {
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(PluginInstance, buffer, MAX_PATH);
    // A truncated name is as useless as none: the files beside it would not be found.
    if (length == 0 || length >= MAX_PATH)
        ModulePath.clear();
    else
        ModulePath.assign(buffer, length);
}

void CreateKeyTableLists() {
    delete RawTable;
    RawTable = new StringList();
    delete CodeTable;
    CodeTable = new StringList();
}

void FreeKeyTableLists() {
    delete CodeTable;
    CodeTable = nullptr;
    delete RawTable;
    RawTable = nullptr;
}

void CheckHostVersion(const void* hostInfo) {
    if (!hostInfo)
        return;
    uint32_t version;
    std::memcpy(&version, static_cast<const char*>(hostInfo) + kHostVersionOffset, sizeof(version));
    if (IsCompatibleHostVersion(version))
        HostCompatible = true;
}

void StartReceiving() {
    if (Running)
        return;
    if (!HostCompatible) {
        ShowErrorBox("Incorrect core version.");
        return;
    }
    if (!StartSampling())
        return;
    KeySignal = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!KeySignal) {
        StopSampling();
        return;
    }
    DispatchStop.store(0);
    DispatchThread = CreateThread(nullptr, 0, DispatchKeys, nullptr, 0, &DispatchThreadId);
    if (!DispatchThread) {
        CloseHandle(KeySignal);
        KeySignal = nullptr;
        StopSampling();
        return;
    }
    Running = true;
}

void StopReceiving() {
    if (!Running)
        return;
    if (DispatchThread) {
        DispatchStop.store(1);
        SetEvent(KeySignal);
        // The dispatch thread may be inside SendMessage to HostWindow, which the host's thread
        // (this one) owns: the join must let that send through or neither thread moves again.
        JoinThreadLettingSentMessagesThrough(DispatchThread);
        CloseHandle(DispatchThread);
        DispatchThread = nullptr;
    }
    StopSampling();
    // Closed only now: the sampling thread signals it until it has ended.
    if (KeySignal) {
        CloseHandle(KeySignal);
        KeySignal = nullptr;
    }
    Running = false;
}

void RunSetup() {
    if (SetupForm)
        return;
    const bool wasRunning = Running;
    auto* form = new TSetupForm(HostWindow);
    // The worker threads may already run (Setup while started): they must see a whole form.
    PublishSetupForm(form);
    std::vector<std::string> saveFailures;
    try {
        SetupOpen.store(true);
        StartReceiving();
        form->ShowModal();
        saveFailures = form->SaveFailures();
        StopReceiving();
        ReloadConfiguration();
    } catch (...) {
        // The dialog must not outlive a failure: the dispatcher would post to a dead window.
        StopReceiving();
    }
    PublishSetupForm(nullptr);
    delete form;
    SetupOpen.store(false);
    // Reported once the dialog has gone, so the box never hides behind it.
    if (!saveFailures.empty())
        ShowSaveFailures(HostWindow, saveFailures);
    if (wasRunning)
        StartReceiving();
}

} // namespace

// No exception may cross into the host: every export catches all.

extern "C" const char* __stdcall Open(const char* instanceName, HWND hostWindow, const void* hostInfo) {
    try {
        HostWindow = hostWindow;
        StoreModulePath();
        StoreInstanceName(instanceName);
        LoadDriver();
        CreateKeyTableLists();
        ReloadConfiguration();
        CheckHostVersion(hostInfo);
    } catch (...) {
    }
    return PluginName;
}

extern "C" void __stdcall Close() {
    try {
        StopReceiving();
        FreeKeyTableLists();
        UnloadDriver();
    } catch (...) {
    }
}

extern "C" void __stdcall Start() {
    try {
        StartReceiving();
    } catch (...) {
    }
}

extern "C" void __stdcall Stop() {
    try {
        StopReceiving();
    } catch (...) {
    }
}

extern "C" void __stdcall Setup() {
    try {
        RunSetup();
    } catch (...) {
    }
}
