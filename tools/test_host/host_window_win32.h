#pragma once
// The host window: a top-level window of its own class that records every message from WM_USER
// up, decoding the plug-in's records (1025, 1029, 1030, 1026).
#include <windows.h>

#include <cstdint>

HWND CreateHostWindow(bool show);
// Time the window procedure spends inside each message sent from another thread (the
// dispatcher's 1025, the simulator's hostmsg) after recording it.
void SetSlowSentMs(int64_t ms);
// hook runs after a message of this number sent from another thread has been recorded.
void SetSentMessageHook(UINT message, void (*hook)());
// Runs a message loop for ms milliseconds.
void PumpFor(int64_t ms);
// Dispatches what is waiting now, posted and sent, and returns.
void DrainMessages();
