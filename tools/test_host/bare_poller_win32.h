#pragma once
// The benchmark's yardstick for the plug-in's idle cost: a thread that does only what any poller
// of the receiver must do, at the sampling thread's priority and rate. It calls the driver's
// DoGetInfraCode (our simulator's, from the same module the plug-in uses) and sleeps.
#include <cstdint>

// Starts the thread polling pollsPerSecond times a second; 0 stops a running one. False when the
// driver or its function cannot be found or the thread cannot be started.
bool SetBarePoller(int64_t pollsPerSecond);
// A "thread-cpu" line for the thread (who=bare-poller), as the plug-in's threads get them.
void EmitBarePollerTimes();
