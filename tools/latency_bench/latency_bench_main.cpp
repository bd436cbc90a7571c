// orvik-latency-bench: the native half of tools/bench-latency.sh. It writes the files a run puts
// beside the plug-in, and turns the test host's output into the benchmark's figures.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tools/latency_bench/bench_files.h"
#include "tools/latency_bench/bench_report.h"

namespace {

constexpr int kMinPresses = 1;
// Each press leaves three entries in the simulator's log (hand-over, two LED writes), which keeps 8192.
constexpr int kMaxPresses = 2000;

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

bool ReadHostLines(const char* path, std::vector<ParsedLine>* lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "orvik-latency-bench: cannot read %s\n", path);
        return false;
    }
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        ParsedLine line;
        std::string error;
        if (ParseEventLine(text, &line, &error))
            lines->push_back(std::move(line));
    }
    return true;
}

int PressFiles(const std::string& folder, int presses) {
    const BenchFiles files = PressRun(presses);
    if (!WriteFile(folder + "/presses.sim", files.script) ||
        !WriteFile(folder + "/OrvikPlug.ini", files.settings) ||
        !WriteFile(folder + "/Bench.cfg", files.definitions)) {
        std::fprintf(stderr, "orvik-latency-bench: cannot write into %s\n", folder.c_str());
        return 1;
    }
    std::printf("%lld\n", static_cast<long long>(files.scriptMs));
    return 0;
}

int IdleFiles(const std::string& folder, int pollFreq) {
    if (!WriteFile(folder + "/OrvikPlug.ini", BenchSettings(pollFreq))) {
        std::fprintf(stderr, "orvik-latency-bench: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}

int LatencyReport(const char* log) {
    std::vector<ParsedLine> lines;
    if (!ReadHostLines(log, &lines))
        return 1;
    const PressTimes times = CollectPressTimes(lines);
    const PressLatencies pairs = PairPresses(times.handOvers, times.presses);
    const Distribution d = Summarise(pairs.ms);
    std::printf("presses %zu of %zu hand-overs (unanswered %d, stray presses %d, undefined %d)\n", d.count,
                times.handOvers.size(), pairs.unanswered, pairs.strayPresses, times.undefinedPresses);
    std::printf("latency ms: median %.3f  p90 %.3f  p99 %.3f  max %.3f\n", d.median, d.p90, d.p99, d.max);
    return d.count > 0 ? 0 : 1;
}

int CpuReport(const char* log) {
    std::vector<ParsedLine> lines;
    if (!ReadHostLines(log, &lines))
        return 1;
    IdleCpu cpu;
    std::string error;
    if (!MeasureIdleCpu(lines, &cpu, &error)) {
        std::fprintf(stderr, "orvik-latency-bench: %s: %s\n", log, error.c_str());
        return 1;
    }
    // One core's second is 1000 ms, so ms per second / 10 is the share of a core in percent.
    std::printf("plug-in threads %.2f ms/s (%.3f %% of a core) over %.1f s\n", cpu.TotalMsPerSecond(),
                cpu.TotalMsPerSecond() / 10, cpu.seconds);
    for (const ThreadCpu& thread : cpu.threads)
        std::printf("  %s %lld, priority %lld: %.2f ms/s\n", thread.barePoller ? "bare poller" : "thread",
                    static_cast<long long>(thread.id), static_cast<long long>(thread.priority),
                    thread.msPerSecond);
    if (cpu.BarePollerMsPerSecond() > 0)
        std::printf("bare poller %.2f ms/s; plug-in / bare poller = %.2f\n", cpu.BarePollerMsPerSecond(),
                    cpu.TotalMsPerSecond() / cpu.BarePollerMsPerSecond());
    return 0;
}

int Usage() {
    std::fprintf(
        stderr, "usage: orvik-latency-bench press-files FOLDER PRESSES   (prints the script's length in ms)\n"
                "       orvik-latency-bench idle-files FOLDER POLLFREQ\n"
                "       orvik-latency-bench latency HOST_LOG\n"
                "       orvik-latency-bench cpu HOST_LOG\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && (args[0] == "press-files" || args[0] == "idle-files")) {
        const int number = std::atoi(args[2].c_str());
        if (args[0] == "idle-files")
            return number >= 1 && number <= 100 ? IdleFiles(args[1], number) : Usage();
        return number >= kMinPresses && number <= kMaxPresses ? PressFiles(args[1], number) : Usage();
    }
    if (args.size() == 2 && args[0] == "latency")
        return LatencyReport(argv[2]);
    if (args.size() == 2 && args[0] == "cpu")
        return CpuReport(argv[2]);
    return Usage();
}
