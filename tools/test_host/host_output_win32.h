#pragma once
// Where the test host's lines go: stdout, one whole line at a time from any thread, each event
// stamped with the milliseconds since the host started (t=).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "tools/test_host/event_line.h"

void InitHostOutput();
int64_t HostOrigin();                 // t=0, QueryPerformanceCounter
EventLine NewEvent(const char* kind); // the kind word and t=
EventLine NewEventAt(const char* kind, int64_t qpc);
void Emit(const EventLine& line);

// "host" for the host's main thread, "worker" for any other.
const char* ThreadRole(DWORD threadId);

// Threads of this process right now.
int CountProcessThreads();
// Threads of this process whose start routine lies in the given module: the plug-in's own
// workers, told apart from threads that Wine or the host start. -1 when it cannot be known.
int CountThreadsStartedIn(HMODULE module);
// Calls visit for each of those threads with its id, a handle with query access (closed after the
// call) and the offset of its start routine in the module; returns their count, or -1.
using ThreadVisitor = std::function<void(DWORD id, HANDLE thread, uint32_t startOffset)>;
int ForEachThreadStartedIn(HMODULE module, const ThreadVisitor& visit);
// Lines "thread-cpu": the processor time each of those threads has used so far.
void EmitThreadTimes(HMODULE module);

// A NUL-terminated text at an address that came from the plug-in, read only as far as memory is
// committed and readable, at most max bytes. Sets *ok to false for an unreadable address.
std::string ReadForeignText(const void* address, size_t max, bool* ok);
// Copies size bytes from a foreign address; false when any of them is not readable.
bool ReadForeignBytes(const void* address, void* out, size_t size);
