#pragma once
#include <windows.h>

// Waits without time-out for a thread to end while letting messages sent to this thread's
// windows through, so a worker blocked in SendMessage to one of them can finish.
void JoinThreadLettingSentMessagesThrough(HANDLE thread);

// Waits while stillWaiting() holds, letting messages sent to this thread's windows through, and
// at the latest until the thread has ended.
void WaitLettingSentMessagesThrough(HANDLE thread, bool (*stillWaiting)());
