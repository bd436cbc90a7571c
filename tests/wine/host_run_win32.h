#pragma once
// Runs test_host.exe for one scenario and hands back its lines.
//
// Each run gets a fresh folder holding a copy of OrvikPlug.dll and the files the scenario puts
// beside it (settings, remote definitions), because the plug-in finds those beside its own module.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/test_host/event_line.h"

enum class Driver { Simulator, FourExports, None };

struct Scenario {
    Driver driver = Driver::Simulator;
    std::vector<std::string> options; // test_host options besides --plugin and --driver-dir
    std::vector<std::string> steps;
    std::vector<std::pair<std::string, std::string>> files = {}; // name, content
    // A folder whose files all go into the run's folder instead of the built OrvikPlug.dll alone
    // (an unpacked distribution); `files` are written after them.
    std::string installFrom = {};
    // The watchdog: a host still running after this long is reported (ReportHungHost: the step
    // under way, its last lines, where each of its threads waits) and ended. Its own --timeout
    // comes later, unless the scenario gives one.
    unsigned runLimitMs = 60000;
};

struct HostRun {
    std::string commandLine;
    std::string output; // everything the host printed
    std::vector<ParsedLine> lines;
    std::vector<std::string> unparsed;
    int exitCode = -1;
    bool timedOut = false;  // the watchdog ended the host
    std::string hangReport; // what it printed then

    std::vector<const ParsedLine*> Of(const std::string& kind) const;
    // Lines of a kind whose fields hold all the given values.
    std::vector<const ParsedLine*>
    Matching(const std::string& kind, const std::vector<std::pair<std::string, std::string>>& fields) const;
    // The line of step i (the step's own events come before it).
    const ParsedLine* Step(int i) const;
    // Position of a line in lines, for order checks; -1 when absent.
    int IndexOf(const ParsedLine* line) const;
    // The numeric field of a line, failing the test when it is absent.
    int64_t Number(const ParsedLine* line, const std::string& key) const;
    bool Finished() const; // "done" printed, exit code 0, every line in the format
};

HostRun RunHost(const Scenario& scenario);
// Runs a program (its arguments, the first its path) in a folder with its output captured, under
// the same watchdog; false, and a failure of the test, when it cannot be started. RunHost's part
// after the folder is made.
bool RunCaptured(const std::vector<std::string>& args, const std::string& folder, unsigned limitMs,
                 HostRun* run);

// Prints what the host printed, once, when the test has failed by the end of the scope.
class PrintOnFailure {
  public:
    explicit PrintOnFailure(const HostRun& run) : run_(run) {}
    ~PrintOnFailure();

  private:
    const HostRun& run_;
};

// The "sim" lines, in order: one per "sim" step.
std::vector<const ParsedLine*> SimStates(const HostRun& run);
