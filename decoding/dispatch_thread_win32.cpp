#include "decoding/dispatch_thread_win32.h"

#include "plugin/plugin_win32.h"

DWORD WINAPI DispatchKeys(LPVOID) {
    while (DispatchStop.load(std::memory_order_acquire) == 0) {
        ResetEvent(KeySignal);
        if (DispatchStop.load(std::memory_order_acquire) != 0)
            break;
        WaitForSingleObject(KeySignal, INFINITE);
    }
    return 0;
}
