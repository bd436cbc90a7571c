#include "plugin/thread_join_win32.h"

namespace {

bool Forever() {
    return true;
}

} // namespace

void JoinThreadLettingSentMessagesThrough(HANDLE thread) {
    WaitLettingSentMessagesThrough(thread, Forever);
}

void WaitLettingSentMessagesThrough(HANDLE thread, bool (*stillWaiting)()) {
    // A plain WaitForSingleObject deadlocks when the host calls Stop on the thread that owns
    // HostWindow while the dispatch thread is inside SendMessage to it. The peek delivers sends
    // that are already queued; MWMO_INPUTAVAILABLE makes the wait wake for sends that arrived
    // before it even if the host had already looked at its queue (GetQueueStatus, PeekMessage),
    // which would otherwise leave them "not new" and the wait asleep for ever.
    // A condition other than the thread's end is looked at again every few milliseconds: it is
    // changed by the thread right after a send returns, which wakes nobody.
    const DWORD slice = stillWaiting == Forever ? INFINITE : 5;
    for (;;) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (!stillWaiting())
            return;
        const DWORD result =
            MsgWaitForMultipleObjectsEx(1, &thread, slice, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0 || result == WAIT_FAILED)
            return;
    }
}
