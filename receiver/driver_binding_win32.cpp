#include "receiver/driver_binding_win32.h"

#include "config/key_table.h"
#include "plugin/message_box_win32.h"

HMODULE DriverModule = nullptr;
DoGetInfraCodeFn DoGetInfraCode = nullptr;
DoSetDataPortDirectionFn DoSetDataPortDirection = nullptr;
DoGetDataPortDirectionFn DoGetDataPortDirection = nullptr;
DoSetOutDataPortFn DoSetOutDataPort = nullptr;
DoGetOutDataPortFn DoGetOutDataPort = nullptr;

namespace {

void ForgetEntryPoints() {
    DoGetInfraCode = nullptr;
    DoSetDataPortDirection = nullptr;
    DoGetDataPortDirection = nullptr;
    DoSetOutDataPort = nullptr;
    DoGetOutDataPort = nullptr;
}

template <typename Fn> Fn Resolve(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

void LoadDriver() {
    // A second Open without Close must not leak the old list.
    delete RemoteNames;
    RemoteNames = new StringList();
    if (DriverModule)
        return;

    HMODULE module = LoadLibraryA("OrvikUSB.dll");
    if (!module) {
        ShowErrorBox("Error loading OrvikUSB.dll");
        return;
    }
    DoGetInfraCode = Resolve<DoGetInfraCodeFn>(module, "DoGetInfraCode");
    DoSetDataPortDirection = Resolve<DoSetDataPortDirectionFn>(module, "DoSetDataPortDirection");
    DoGetDataPortDirection = Resolve<DoGetDataPortDirectionFn>(module, "DoGetDataPortDirection");
    DoSetOutDataPort = Resolve<DoSetOutDataPortFn>(module, "DoSetOutDataPort");
    DoGetOutDataPort = Resolve<DoGetOutDataPortFn>(module, "DoGetOutDataPort");
    if (!DoGetInfraCode || !DoSetDataPortDirection || !DoGetDataPortDirection || !DoSetOutDataPort ||
        !DoGetOutDataPort) {
        FreeLibrary(module);
        ForgetEntryPoints();
        ShowErrorBox("Invalid OrvikUSB.dll");
        return;
    }
    DriverModule = module;
}

void UnloadDriver() {
    delete RemoteNames;
    RemoteNames = nullptr;
    if (DriverModule) {
        ForgetEntryPoints();
        FreeLibrary(DriverModule);
        DriverModule = nullptr;
    }
}
