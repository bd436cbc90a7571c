#include "tests/watchdog/hang_report_win32.h"

#include <algorithm>
#include <cstdio>

#include "tests/watchdog/code_symbols_win32.h"
#include "tests/watchdog/machine_code.h"

namespace {

constexpr size_t kMaxFrames = 24;

bool SameName(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

bool InModule(const CodeSymbols& symbols, uint32_t address, const std::string& name) {
    const ModuleImage* module = symbols.ModuleAt(address);
    return module != nullptr && SameName(module->name, name);
}

enum class Role { Main, Plugin, Program, System };

Role RoleOf(const ThreadCapture& thread, const CodeSymbols& symbols, const ProcessCapture& capture,
            const HangFacts& facts) {
    if (thread.id == facts.mainThread)
        return Role::Main;
    if (InModule(symbols, thread.start, facts.pluginModule))
        return Role::Plugin;
    // The module list starts with the program's own file.
    const ModuleImage* module = symbols.ModuleAt(thread.start);
    return module != nullptr && !capture.modules.empty() && module == &capture.modules.front() ? Role::Program
                                                                                               : Role::System;
}

const char* RoleName(Role role) {
    switch (role) {
    case Role::Main:
        return "main";
    case Role::Plugin:
        return "plug-in";
    case Role::Program:
        return "program";
    default:
        return "system";
    }
}

std::vector<StackFrame> Frames(const ThreadCapture& thread, const CodeSymbols& symbols) {
    const CodeFacts code = {[&](uint32_t a) { return symbols.IsReturnAddress(a); },
                            [&](uint32_t a) { return symbols.DirectCallTarget(a); },
                            [&](uint32_t a) { return symbols.FunctionStart(a); }};
    return StackFrames(thread.eip, thread.stack, code, kMaxFrames);
}

std::string StateOf(const ThreadCapture& thread, const CodeSymbols& symbols) {
    if (!thread.read)
        return std::string("not readable: ") + (thread.error != nullptr ? thread.error : "?");
    if (thread.suspendedBefore > 0)
        return "suspended (count " + std::to_string(thread.suspendedBefore) + ")";
    // Under Wine a thread that waits is inside a system call of ntdll or win32u.
    const std::string function = symbols.FunctionAt(thread.eip);
    const bool systemCall =
        (InModule(symbols, thread.eip, "ntdll.dll") || InModule(symbols, thread.eip, "win32u.dll")) &&
        (function.compare(0, 2, "Nt") == 0 || function.compare(0, 2, "Zw") == 0);
    return systemCall ? "waiting in " + function : "running in " + symbols.Describe(thread.eip);
}

std::string DescribeThread(const ThreadCapture& thread, Role role, const CodeSymbols& symbols,
                           const HangFacts& facts) {
    char head[64];
    std::snprintf(head, sizeof head, "thread %lu %s", static_cast<unsigned long>(thread.id), RoleName(role));
    std::string text = head;
    text += ", start " + (thread.start != 0 ? symbols.Describe(thread.start) : std::string("unknown"));
    text += ", " + StateOf(thread, symbols);
    if (thread.cpuUs >= 0)
        text += ", cpu " + std::to_string(thread.cpuUs / 1000) + " ms";
    if (!thread.read) {
        text += "\n";
        return text;
    }
    const std::vector<StackFrame> frames = Frames(thread, symbols);
    if (role != Role::Plugin && std::any_of(frames.begin(), frames.end(), [&](const StackFrame& frame) {
            return !frame.doubtful && InModule(symbols, frame.address, facts.pluginModule);
        }))
        text += ", inside " + facts.pluginModule;
    text += "\n";
    for (const StackFrame& frame : frames)
        text += std::string(frame.doubtful ? "      ? " : "      ") + symbols.Describe(frame.address) + "\n";
    return text;
}

} // namespace

std::string HangReport(HANDLE process, const ProcessCapture& capture, const HangFacts& facts) {
    const CodeSymbols symbols(process, capture);
    std::string text = "==== watchdog: " + facts.program + "\n";
    text += "under way: " + (facts.activity.empty() ? std::string("(unknown)") : facts.activity) + "\n";
    text += "last lines printed (" + std::to_string(facts.lastLines.size()) + "):\n";
    for (const std::string& line : facts.lastLines)
        text += "  | " + line + "\n";
    int plugin = 0;
    for (const ThreadCapture& thread : capture.threads)
        plugin += RoleOf(thread, symbols, capture, facts) == Role::Plugin ? 1 : 0;
    text += "threads: " + std::to_string(capture.threads.size()) +
            ", of the plug-in: " + std::to_string(plugin) + "\n";
    for (Role role : {Role::Main, Role::Plugin, Role::Program, Role::System})
        for (const ThreadCapture& thread : capture.threads)
            if (RoleOf(thread, symbols, capture, facts) == role)
                text += "  " + DescribeThread(thread, role, symbols, facts);
    text += "==== end of the watchdog's report\n";
    return text;
}

void WriteStdout(const std::string& text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written,
              nullptr);
}
