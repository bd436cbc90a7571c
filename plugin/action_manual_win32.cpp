// ActionManual: the host's manual actions on the receiver's data port.
#include "plugin/action_param_view.h"
#include "plugin/manual_action.h"
#include "plugin/plugin_win32.h"
#include "receiver/driver_binding_win32.h"

namespace {

// Text slots carry 32-bit pointers; a null one stays null and the logic reports it as invalid.
ActionParamView ViewOf(const ActionParams& params) {
    ActionParamView view;
    view.count = params.count;
    for (int i = 0; i < kActionParamSlots; ++i) {
        view.slots[i].isNumber = params.isNumber[i] != 0;
        view.slots[i].number = params.value[i];
        view.slots[i].text =
            view.slots[i].isNumber ? nullptr : reinterpret_cast<const char*>(params.value[i]);
    }
    return view;
}

// Sends the invalid-parameters text (1029); it lives only during the call.
void InvalidParamsReport(HWND hostWindow, const char* errorText) {
    SendMessageA(hostWindow, kMsgInvalidParams, reinterpret_cast<WPARAM>(errorText), 0);
}

} // namespace

extern "C" void __stdcall ActionManual(const ActionParams* params, uint32_t actionId) {
    try {
        ActionParamView view;
        if (params)
            view = ViewOf(*params);
        DriverDataPort driverPort;
        DataPort* port = DriverModule ? &driverPort : nullptr;
        const ManualActionOutcome outcome = PerformManualAction(params ? &view : nullptr, port, PluginName);
        if (outcome.valid) {
            ActionParams reply = ManualActionReply(outcome);
            SendMessageA(HostWindow, kMsgActionValues, actionId, reinterpret_cast<LPARAM>(&reply));
            PostMessageA(HostWindow, kMsgActionDone, actionId, static_cast<LPARAM>(outcome.result));
        } else {
            InvalidParamsReport(HostWindow, outcome.errorText);
            PostMessageA(HostWindow, kMsgActionDone, actionId, 0);
        }
    } catch (...) {
    }
}
