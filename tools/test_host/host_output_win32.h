#pragma once
// Where the test host's lines go: stdout, one whole line at a time from any thread, each event
// stamped with the milliseconds since the host started (t=).
#include <windows.h>

#include <cstdint>
#include <string>

#include "tools/test_host/event_line.h"

void InitHostOutput();
EventLine NewEvent(const char* kind); // the kind word and t=
EventLine NewEventAt(const char* kind, int64_t qpc);
void Emit(const EventLine& line);

// "host" for the host's main thread, "worker" for any other.
const char* ThreadRole(DWORD threadId);

// Threads of this process right now.
int CountProcessThreads();

// A NUL-terminated text at an address that came from the plug-in, read only as far as memory is
// committed and readable, at most max bytes. Sets *ok to false for an unreadable address.
std::string ReadForeignText(const void* address, size_t max, bool* ok);
// Copies size bytes from a foreign address; false when any of them is not readable.
bool ReadForeignBytes(const void* address, void* out, size_t size);
