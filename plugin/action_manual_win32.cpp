#include "plugin/plugin_win32.h"

extern "C" void __stdcall ActionManual(const ActionParams*, uint32_t actionId) {
    PostMessageA(HostWindow, kMsgActionDone, actionId, 0);
}
