#include "tests/wine/host_run_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iterator>
#include <sstream>

#include "tests/watchdog/test_watchdog_win32.h"
#include "tests/wine/host_watchdog_win32.h"
#include "tests/wine/test_folder_win32.h"
#include "tests/wine/test_paths_win32.h"

namespace {

std::atomic<int> g_runCounter{0};
// The host's own watchdog fires this much after ours, which can say more.
constexpr unsigned kHostTimeoutMargin = 30000;
// How long an ended host may take to go, and the pipe to give up what it holds.
constexpr DWORD kEndWaitMs = 15000;

// Windows command-line quoting, as the C runtime of the host splits it again.
std::string QuoteArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
        return arg;
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, '\\');
    out.push_back('"');
    return out;
}

bool CopyFolderFiles(const std::string& from, const std::string& to) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot list " << from;
        return false;
    }
    bool ok = true;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const std::string source = from + "\\" + found.cFileName;
        if (!CopyFileA(source.c_str(), (to + "\\" + found.cFileName).c_str(), FALSE)) {
            ADD_FAILURE() << "cannot copy " << source;
            ok = false;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return ok;
}

// The host's output pipe. Programs that the host's process starts in passing (Wine's desktop
// process, for one) may inherit its write end and keep it open long after the host has ended, so
// the end of the output is the host's exit plus whatever it left in the pipe, not end-of-file.
struct OutputPipe {
    HANDLE read = INVALID_HANDLE_VALUE;
    HANDLE write = INVALID_HANDLE_VALUE;

    bool Create(const std::string& name) {
        read = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
                                PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 65536, 0, nullptr);
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        write = CreateFileA(name.c_str(), GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, 0, nullptr);
        return read != INVALID_HANDLE_VALUE && write != INVALID_HANDLE_VALUE;
    }
    ~OutputPipe() {
        if (read != INVALID_HANDLE_VALUE)
            CloseHandle(read);
        if (write != INVALID_HANDLE_VALUE)
            CloseHandle(write);
    }
};

// Waits for a pending read. After the process has gone, an empty pipe means the end.
enum class ReadWait { Data, Ended, TimedOut };
ReadWait AwaitRead(HANDLE pipe, HANDLE readDone, HANDLE process, ULONGLONG* deadline, bool* exited) {
    for (;;) {
        if (*exited) {
            if (WaitForSingleObject(readDone, 50) == WAIT_OBJECT_0)
                return ReadWait::Data;
            DWORD available = 0;
            if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0 ||
                GetTickCount64() >= *deadline)
                return ReadWait::Ended;
            continue;
        }
        ULONGLONG now = GetTickCount64();
        HANDLE events[] = {readDone, process};
        DWORD wait = WaitForMultipleObjects(2, events, FALSE,
                                            static_cast<DWORD>(now < *deadline ? *deadline - now : 0));
        if (wait == WAIT_OBJECT_0)
            return ReadWait::Data;
        if (wait != WAIT_OBJECT_0 + 1)
            return ReadWait::TimedOut;
        *exited = true;
        // What the host left in the pipe is read in passing; a writer that lives on must not hold us.
        *deadline = GetTickCount64() + kEndWaitMs;
    }
}

// Reads the pipe while the process runs, then what it left behind. False on time-out.
bool CollectOutput(HANDLE pipe, HANDLE process, DWORD limitMs, std::string* text) {
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ULONGLONG deadline = GetTickCount64() + limitMs;
    bool exited = false;
    ReadWait outcome = ReadWait::Data;
    char chunk[4096];
    while (outcome == ReadWait::Data) {
        DWORD got = 0;
        ResetEvent(overlapped.hEvent);
        if (!ReadFile(pipe, chunk, static_cast<DWORD>(std::size(chunk)), &got, &overlapped)) {
            if (GetLastError() != ERROR_IO_PENDING)
                break; // every writer has gone
            outcome = AwaitRead(pipe, overlapped.hEvent, process, &deadline, &exited);
            if (outcome != ReadWait::Data) {
                // The buffer must outlive the cancelled read.
                CancelIo(pipe);
                GetOverlappedResult(pipe, &overlapped, &got, TRUE);
                break;
            }
            if (!GetOverlappedResult(pipe, &overlapped, &got, FALSE))
                break;
        }
        text->append(chunk, got);
    }
    CloseHandle(overlapped.hEvent);
    return outcome != ReadWait::TimedOut;
}

void SplitLines(HostRun* run) {
    std::istringstream in(run->output);
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.empty())
            continue;
        ParsedLine line;
        std::string error;
        if (ParseEventLine(text, &line, &error))
            run->lines.push_back(std::move(line));
        else
            run->unparsed.push_back(text + "   <- " + error);
    }
}

std::string MakeRunFolder() {
    char temp[MAX_PATH];
    GetTempPathA(static_cast<DWORD>(std::size(temp)), temp);
    std::string folder = std::string(temp) + "orvik-host-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(g_runCounter++);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

} // namespace

bool RunCaptured(const std::vector<std::string>& args, const std::string& folder, unsigned limitMs,
                 HostRun* run) {
    std::string commandLine;
    for (const std::string& arg : args)
        commandLine += (commandLine.empty() ? "" : " ") + QuoteArgument(arg);
    run->commandLine = commandLine;
    OutputPipe pipe;
    if (!pipe.Create("\\\\.\\pipe\\orvik-run-" + std::to_string(GetCurrentProcessId()) + "-" +
                     std::to_string(g_runCounter++))) {
        ADD_FAILURE() << "cannot create the output pipe";
        return false;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = pipe.write;
    startup.hStdError = pipe.write;
    PROCESS_INFORMATION process = {};
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    BOOL started = CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  folder.c_str(), &startup, &process);
    CloseHandle(pipe.write);
    pipe.write = INVALID_HANDLE_VALUE;
    if (!started) {
        ADD_FAILURE() << "cannot start " << commandLine << " (error " << GetLastError() << ")";
        return false;
    }
    const std::string program = args[0].substr(args[0].find_last_of("\\/") + 1);
    WatchNote(program + " running: " + commandLine.substr(0, 300));
    if (!CollectOutput(pipe.read, process.hProcess, limitMs, &run->output)) {
        run->timedOut = true;
        run->hangReport = ReportHungHost(program, process, run->output, limitMs);
        std::fputs(run->hangReport.c_str(), stdout);
        std::fflush(stdout);
        TerminateProcess(process.hProcess, 1);
    }
    if (WaitForSingleObject(process.hProcess, kEndWaitMs) == WAIT_TIMEOUT)
        ADD_FAILURE() << program << " (process " << process.dwProcessId << ") does not end";
    WatchNote(program + " ended");
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    run->exitCode = static_cast<int>(exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

HostRun RunHost(const Scenario& scenario) {
    HostRun run;
    const TestPaths& paths = Paths();
    std::string folder = MakeRunFolder();
    std::string plugin = folder + "\\OrvikPlug.dll";
    if (!scenario.installFrom.empty()) {
        if (!CopyFolderFiles(scenario.installFrom, folder)) {
            RemoveFolder(folder);
            return run;
        }
    } else if (!CopyFileA(paths.plugin.c_str(), plugin.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy " << paths.plugin << " to " << plugin;
        return run;
    }
    for (const auto& [name, content] : scenario.files)
        EXPECT_TRUE(WriteFileBytes(folder + "\\" + name, content)) << name;

    std::vector<std::string> args = {paths.testHost, "--plugin=" + plugin};
    if (scenario.driver == Driver::Simulator)
        args.push_back("--driver-dir=" + paths.simulatorDir);
    else if (scenario.driver == Driver::FourExports)
        args.push_back("--driver-dir=" + paths.fourExportDir);
    args.insert(args.end(), scenario.options.begin(), scenario.options.end());
    if (std::none_of(scenario.options.begin(), scenario.options.end(),
                     [](const std::string& option) { return option.rfind("--timeout=", 0) == 0; }))
        args.push_back("--timeout=" + std::to_string(scenario.runLimitMs + kHostTimeoutMargin));
    args.insert(args.end(), scenario.steps.begin(), scenario.steps.end());
    RunCaptured(args, folder, scenario.runLimitMs, &run);
    RemoveFolder(folder);
    SplitLines(&run);
    return run;
}

std::vector<const ParsedLine*> HostRun::Of(const std::string& kind) const {
    return Matching(kind, {});
}

std::vector<const ParsedLine*>
HostRun::Matching(const std::string& kind,
                  const std::vector<std::pair<std::string, std::string>>& fields) const {
    std::vector<const ParsedLine*> found;
    for (const ParsedLine& line : lines) {
        bool match = line.kind == kind;
        for (const auto& [key, value] : fields)
            match = match && line.Has(key) && line.Get(key) == value;
        if (match)
            found.push_back(&line);
    }
    return found;
}

const ParsedLine* HostRun::Step(int i) const {
    for (const ParsedLine& line : lines)
        if (line.kind == "step" && line.Number("i") == i)
            return &line;
    ADD_FAILURE() << "no line for step " << i;
    return nullptr;
}

int HostRun::IndexOf(const ParsedLine* line) const {
    for (size_t i = 0; i < lines.size(); ++i)
        if (&lines[i] == line)
            return static_cast<int>(i);
    return -1;
}

int64_t HostRun::Number(const ParsedLine* line, const std::string& key) const {
    std::optional<int64_t> value = line != nullptr ? line->Number(key) : std::nullopt;
    if (!value) {
        ADD_FAILURE() << "no number " << key << " in " << (line != nullptr ? line->kind : "missing line");
        return -1;
    }
    return *value;
}

bool HostRun::Finished() const {
    return exitCode == 0 && !timedOut && Of("done").size() == 1;
}

PrintOnFailure::~PrintOnFailure() {
    if (testing::Test::HasFailure()) {
        std::printf("---- test_host output ----\n$ %s\n%s", run_.commandLine.c_str(), run_.output.c_str());
        for (const std::string& line : run_.unparsed)
            std::printf("unparsed: %s\n", line.c_str());
    }
}

std::vector<const ParsedLine*> SimStates(const HostRun& run) {
    return run.Of("sim");
}
