#pragma once
// The text a watchdog prints about a program that has run too long: what it was doing, what it
// printed last, and for every thread whether it belongs to the plug-in and where it waits.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/watchdog/process_capture_win32.h"

struct HangFacts {
    std::string program;                // "test_host.exe (process 42), 60.0 s"
    std::string activity;               // the step or call under way, and since when
    std::vector<std::string> lastLines; // what the program printed last
    std::string pluginModule = "OrvikPlug.dll";
    DWORD mainThread = 0;
};

// Describes a captured process (see CaptureProcess). Each thread gets one line
//   thread ID ROLE, start ROUTINE, STATE, cpu MS ms
// with ROLE "main", "plug-in" (started in the plug-in), "program" or "system", followed by its
// stack: the instruction pointer and the return addresses found on it, innermost first; "?" marks
// one whose call instruction goes to none of the functions of the frames inside it (a word left
// over from an earlier call, or a call that jumped on).
std::string HangReport(HANDLE process, const ProcessCapture& capture, const HangFacts& facts);

// Writes a text to this process's standard output without the C runtime, whose lock a hung
// thread may hold.
void WriteStdout(const std::string& text);
