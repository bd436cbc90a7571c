#include "plugin/thread_join_win32.h"

void JoinThreadLettingSentMessagesThrough(HANDLE thread) {
    // A plain WaitForSingleObject deadlocks when the host calls Stop on the thread that owns
    // HostWindow while the dispatch thread is inside SendMessage to it. The peek delivers sends
    // that are already queued; MWMO_INPUTAVAILABLE makes the wait wake for sends that arrived
    // before it even if the host had already looked at its queue (GetQueueStatus, PeekMessage),
    // which would otherwise leave them "not new" and the wait asleep for ever.
    for (;;) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD result =
            MsgWaitForMultipleObjectsEx(1, &thread, INFINITE, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0 || result == WAIT_FAILED)
            return;
    }
}
