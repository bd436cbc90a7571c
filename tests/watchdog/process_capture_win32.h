#pragma once
// Every thread of a process at one moment, for a report of where a hung program waits. Each thread
// is suspended to read its registers and the top of its stack, with nothing allocated meanwhile,
// so the capture also works from a thread of the process itself (a suspended thread may hold the
// heap's lock).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct ModuleImage {
    std::string name; // file name, e.g. "OrvikPlug.dll"
    std::string path; // full path, as the process loaded it
    uint32_t base = 0;
    uint32_t size = 0;
    bool Holds(uint32_t address) const { return address - base < size; }
};

struct ThreadCapture {
    DWORD id = 0;
    uint32_t start = 0;        // Win32 start routine; 0 when unknown
    bool read = false;         // registers and stack were read
    DWORD suspendedBefore = 0; // suspend count found (a thread created suspended and never resumed)
    uint32_t eip = 0;
    uint32_t esp = 0;
    std::vector<uint32_t> stack; // words from esp up, as far as the stack goes or kStackWords
    int64_t cpuUs = -1;          // kernel and user time so far
    const char* error = nullptr; // why it could not be read (a literal: set while a thread is held)
};

struct ProcessCapture {
    std::vector<ModuleImage> modules;
    std::vector<ThreadCapture> threads;
    const ModuleImage* ModuleAt(uint32_t address) const;
};

constexpr size_t kStackWords = 16384; // 64 KiB from the stack pointer

// The threads and modules of a process (the handle needs PROCESS_VM_READ and
// PROCESS_QUERY_INFORMATION); the calling thread is left out. With freeze every thread is
// suspended first and left so (a process about to be ended); otherwise each one is resumed right
// after it was read.
ProcessCapture CaptureProcess(HANDLE process, DWORD processId, bool freeze);

// Reads size bytes of another (or this) process; false when any of them is unreadable.
bool ReadMemory(HANDLE process, uint32_t address, void* out, size_t size);
