// Open, Close, Start, Stop and Setup: the module's lifecycle as the host drives it.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "config/key_table.h"
#include "decoding/dispatch_thread_win32.h"
#include "plugin/configuration_win32.h"
#include "plugin/host_version.h"
#include "plugin/message_box_win32.h"
#include "plugin/plugin_win32.h"
#include "plugin/receiving_lifecycle.h"
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
    // A dialog opened after Close shows no key: it must not save against files it never listed.
    ForgetLoadedRemoteFiles();
}

void CheckHostVersion(const void* hostInfo) {
    if (!hostInfo)
        return;
    uint32_t version;
    std::memcpy(&version, static_cast<const char*>(hostInfo) + kHostVersionOffset, sizeof(version));
    if (IsCompatibleHostVersion(version))
        HostCompatible = true;
}

class Win32ReceivingSteps final : public ReceivingSteps {
  public:
    bool StartSampling() override { return ::StartSampling(); }
    void StopSampling() override { ::StopSampling(); }
    bool CreateKeySignal() override {
        KeySignal = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        return KeySignal != nullptr;
    }
    void CloseKeySignal() override {
        if (KeySignal) {
            CloseHandle(KeySignal);
            KeySignal = nullptr;
        }
    }
    bool StartDispatcher() override {
        DispatchStop.store(0);
        DispatchThread = CreateThread(nullptr, 0, DispatchKeys, nullptr, 0, &DispatchThreadId);
        return DispatchThread != nullptr;
    }
    void StopDispatcher() override {
        // Taken out of the global before the join, so that nothing reached from a message the join
        // lets through can join or close this handle again.
        const HANDLE thread = DispatchThread;
        DispatchThread = nullptr;
        if (!thread)
            return;
        DispatchStop.store(1);
        SetEvent(KeySignal);
        // The dispatch thread may be inside SendMessage to HostWindow, which the host's thread
        // (this one) owns: the join must let that send through or neither thread moves again.
        JoinThreadLettingSentMessagesThrough(thread);
        CloseHandle(thread);
    }
};

Win32ReceivingSteps ReceivingStepsOfThisModule;

void StartReceiving() {
    if (Running || Stopping)
        return;
    if (!HostCompatible) {
        ShowErrorBox("Incorrect core version.");
        return;
    }
    ::StartReceiving(ReceivingStepsOfThisModule, Running, Stopping);
}

void StopReceiving() {
    ::StopReceiving(ReceivingStepsOfThisModule, Running, Stopping);
}

// The files the last load found only in their rescue copies, but those the save box names already.
std::vector<std::string> RescuedFilesNotIn(const std::vector<SaveProblem>& saveFailures) {
    std::vector<std::string> rescued;
    for (const std::string& path : FilesOnlyInRescueCopies()) {
        const auto named = [&path](const SaveProblem& p) { return p.path == path; };
        if (std::none_of(saveFailures.begin(), saveFailures.end(), named))
            rescued.push_back(path);
    }
    return rescued;
}

void RunSetup() {
    // While a Stop is under way the threads belong to it; Setup would start them again.
    if (SetupForm || Stopping)
        return;
    const bool wasRunning = Running;
    auto* form = new TSetupForm(HostWindow);
    // The worker threads may already run (Setup while started): they must see a whole form.
    PublishSetupForm(form);
    std::vector<SaveProblem> saveFailures;
    std::vector<std::string> rescued;
    try {
        SetupOpen.store(true);
        // Nothing reaches the host while the dialog is open: a button it holds is released first.
        ReleaseHostKeyForSetup();
        StartReceiving();
        form->ShowModal();
        saveFailures = form->SaveFailures();
        StopReceiving();
        ReloadConfiguration();
        rescued = RescuedFilesNotIn(saveFailures);
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
    if (!rescued.empty())
        ShowRescueCopies(HostWindow, rescued);
    if (wasRunning)
        StartReceiving();
}

} // namespace

// No exception may cross into the host: every export catches all.

extern "C" const char* __stdcall Open(const char* instanceName, HWND hostWindow, const void* hostInfo) {
    try {
        // Reached from a message that Stop's join let through: the outer Stop still ends the
        // threads that use the record and the key table.
        if (Stopping)
            return PluginName;
        // A second Open while receiving: the dispatcher uses the key table and the record that
        // this Open replaces, so it stops first, as Close does, and is not started again.
        StopReceiving();
        HostWindow = hostWindow;
        StoreModulePath();
        StoreInstanceName(instanceName);
        try {
            LoadDriver();
            CreateKeyTableLists();
            ReloadConfiguration();
            // A save that failed half-way left a file's content only in its rescue copy.
            if (!FilesOnlyInRescueCopies().empty())
                ShowRescueCopies(nullptr, FilesOnlyInRescueCopies());
        } catch (...) {
            // Out of memory: the plug-in carries on with what it has. The version test does not
            // depend on any of it, and without it every Start would be refused.
        }
        CheckHostVersion(hostInfo);
    } catch (...) {
    }
    return PluginName;
}

extern "C" void __stdcall Close() {
    try {
        // Inside a Stop (from a message its join let through) the threads still run on the key
        // table and the driver; the outer Stop must finish first.
        if (Stopping)
            return;
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
