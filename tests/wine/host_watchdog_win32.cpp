#include "tests/wine/host_watchdog_win32.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <sstream>
#include <vector>

#include "tests/watchdog/hang_report_win32.h"
#include "tests/watchdog/process_capture_win32.h"
#include "tools/test_host/event_line.h"
#include "tools/test_host/step_watch.h"

namespace {

constexpr size_t kLastLines = 20;

std::vector<std::string> Lines(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (!text.empty())
            lines.push_back(text);
    }
    return lines;
}

// Where the host keeps its step record: the "host" line says.
std::optional<uint32_t> WatchAddress(const std::vector<std::string>& lines) {
    for (const std::string& text : lines) {
        ParsedLine line;
        std::string error;
        if (ParseEventLine(text, &line, &error) && line.kind == "host" && line.Number("watch"))
            return static_cast<uint32_t>(*line.Number("watch"));
    }
    return std::nullopt;
}

std::string Activity(HANDLE process, std::optional<uint32_t> address) {
    StepWatch watch;
    if (!address)
        return "unknown: the host printed no \"host\" line (it was starting)";
    if (!ReadMemory(process, *address, &watch, sizeof watch))
        return "unknown: the host's step record cannot be read";
    if (watch.step < 0)
        return "no step yet (loading the plug-in)";
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const double perMs = static_cast<double>(watch.perSecond) / 1000.0;
    watch.verb[sizeof watch.verb - 1] = '\0';
    char text[160];
    std::snprintf(text, sizeof text, "step %d (%s), since t=%.1f ms, for %.1f s",
                  static_cast<int>(watch.step), watch.verb,
                  static_cast<double>(watch.began - watch.origin) / perMs,
                  static_cast<double>(now.QuadPart - watch.began) / perMs / 1000.0);
    return text;
}

} // namespace

std::string ReportHungHost(const std::string& program, const PROCESS_INFORMATION& host,
                           const std::string& output, unsigned limitMs) {
    const std::vector<std::string> lines = Lines(output);
    HangFacts facts;
    char text[120];
    std::snprintf(text, sizeof text, " (process %lu) still running after its limit of %.1f s; ended",
                  static_cast<unsigned long>(host.dwProcessId), limitMs / 1000.0);
    facts.program = program + text;
    facts.mainThread = host.dwThreadId;
    facts.lastLines.assign(lines.end() - static_cast<std::ptrdiff_t>(std::min(lines.size(), kLastLines)),
                           lines.end());
    // Frozen first, so that the step record and the stacks are of the same moment.
    const ProcessCapture capture = CaptureProcess(host.hProcess, host.dwProcessId, true);
    facts.activity = Activity(host.hProcess, WatchAddress(lines));
    return HangReport(host.hProcess, capture, facts);
}
