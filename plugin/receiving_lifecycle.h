#pragma once
// Start and Stop of the two worker threads: the order of the steps, the undo path of a failed
// Start and the guard against re-entry. The steps themselves are Win32 calls behind ReceivingSteps.
//
// Stop's joins let sent messages through, so the host's handlers run while it waits, and one of
// them (another thread's SendMessage, WM_ENDSESSION) may call Stop, Start or Setup again. While
// stopping is set, a nested Stop returns at once and a nested Start does nothing: the outer Stop
// still owns the threads it is ending.

class ReceivingSteps {
  public:
    virtual ~ReceivingSteps() = default;
    // StartSampling: false when no driver is bound or the thread cannot be created.
    virtual bool StartSampling() = 0;
    virtual void StopSampling() = 0;
    virtual bool CreateKeySignal() = 0;
    virtual void CloseKeySignal() = 0;
    // Clears DispatchStop and creates the dispatch thread.
    virtual bool StartDispatcher() = 0;
    // Sets DispatchStop, signals KeySignal and joins the thread, letting sent messages through.
    virtual void StopDispatcher() = 0;
};

// Starts sampling, KeySignal and the dispatcher, in that order; on a failure undoes what was done,
// the sampling thread before KeySignal, which it signals. Nothing while running or stopping. The
// undo is a stop too: its join lets sent messages through, and a Start from one of them must not
// restart the thread being ended.
void StartReceiving(ReceivingSteps& steps, bool& running, bool& stopping);

// Ends the dispatcher, then sampling, then closes KeySignal. Nothing while stopped or stopping.
void StopReceiving(ReceivingSteps& steps, bool& running, bool& stopping);
