#include "tests/wine/host_run_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <iterator>
#include <sstream>

#include "tests/wine/test_paths_win32.h"

namespace {

// The host stops itself after its own watchdog time; this is the last resort above it.
constexpr DWORD kRunLimitMs = 90000;

std::atomic<int> g_runCounter{0};

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

bool WriteWholeFile(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
              written == content.size();
    CloseHandle(file);
    return ok;
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..")
                DeleteFileA((folder + "\\" + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

struct PipeReader {
    HANDLE pipe;
    std::string text;
};

DWORD WINAPI ReadAll(void* param) {
    auto* reader = static_cast<PipeReader*>(param);
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(reader->pipe, chunk, static_cast<DWORD>(std::size(chunk)), &got, nullptr) && got > 0)
        reader->text.append(chunk, got);
    return 0;
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

HostRun RunHost(const Scenario& scenario) {
    HostRun run;
    const TestPaths& paths = Paths();
    std::string folder = MakeRunFolder();
    std::string plugin = folder + "\\OrvikPlug.dll";
    if (!CopyFileA(paths.plugin.c_str(), plugin.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy " << paths.plugin << " to " << plugin;
        return run;
    }
    for (const auto& [name, content] : scenario.files)
        EXPECT_TRUE(WriteWholeFile(folder + "\\" + name, content)) << name;

    std::vector<std::string> args = {paths.testHost, "--plugin=" + plugin};
    if (scenario.driver == Driver::Simulator)
        args.push_back("--driver-dir=" + paths.simulatorDir);
    else if (scenario.driver == Driver::FourExports)
        args.push_back("--driver-dir=" + paths.fourExportDir);
    args.insert(args.end(), scenario.options.begin(), scenario.options.end());
    args.insert(args.end(), scenario.steps.begin(), scenario.steps.end());
    std::string commandLine;
    for (const std::string& arg : args)
        commandLine += (commandLine.empty() ? "" : " ") + QuoteArgument(arg);

    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    BOOL started = CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  folder.c_str(), &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        ADD_FAILURE() << "cannot start " << commandLine << " (error " << GetLastError() << ")";
        CloseHandle(readEnd);
        RemoveFolder(folder);
        return run;
    }
    PipeReader reader{readEnd, {}};
    HANDLE readerThread = CreateThread(nullptr, 0, ReadAll, &reader, 0, nullptr);
    if (WaitForSingleObject(process.hProcess, kRunLimitMs) == WAIT_TIMEOUT) {
        run.timedOut = true;
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    run.exitCode = static_cast<int>(exitCode);
    WaitForSingleObject(readerThread, INFINITE);
    CloseHandle(readerThread);
    CloseHandle(readEnd);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    RemoveFolder(folder);
    run.commandLine = commandLine;
    run.output = reader.text;
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
