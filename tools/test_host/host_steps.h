#pragma once
// The test host's command line: options, then the steps to run in order (README.md lists them).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class StepKind {
    Open,        // open or open:NAME
    Close,       // close
    Start,       // start
    Stop,        // stop
    Setup,       // setup or setup:MS (close the dialog MS ms after it shows)
    Action,      // action:ID or action:ID:ARG|ARG…
    ActionNull,  // action-null:ID (null parameter record)
    HostVersion, // host-version:WORD or host-version:null, for the following opens
    Wait,        // wait:MS, pumping messages
    Sleep,       // sleep:MS, without pumping
    QueueStatus, // queue-status: GetQueueStatus, so that pending sends are no longer "new"
    Peek,        // peek: PeekMessage without removing
    Sim,         // sim: simulator state
    SimPort,     // sim-port:OUT,DIR
    SimFail,     // sim-fail:OUTSTATUS,DIRSTATUS
    SimScript,   // sim-script:TEXT
    SimLog,      // sim-log: simulator log entries since the last sim-log
    ThreadCpu,   // thread-cpu: processor time used so far by each of the plug-in's threads
    BarePoller,  // bare-poller:HZ, a thread polling the driver HZ times a second; 0 ends it
    Mark,        // mark:TEXT, a marker line
    Hang,        // hang: never returns (the watchdog's own test)
};

struct ActionArg {
    bool isNumber = false;
    bool nullText = false; // a text parameter whose pointer is null
    uint32_t number = 0;
    std::string text;
};

struct Step {
    StepKind kind;
    std::string verb;                // as written, for the output
    std::optional<std::string> text; // open's name, sim-script's text, mark's text
    int64_t a = 0;                   // ms; action id; port output; getter status
    int64_t b = 0;                   // port direction; getter status
    std::optional<uint32_t> version; // host-version; nothing for null
    std::optional<int32_t> count;    // action's parameter count when given explicitly
    std::vector<ActionArg> args;
};

struct HostOptions {
    std::string plugin;
    std::optional<std::string> driverDir;
    std::optional<uint32_t> version = 0x02070C00u; // nothing: null HostInfo
    std::optional<std::string> simScript;
    std::optional<std::string> simScriptFile;
    int64_t slowSentMs = 0;
    int64_t timeoutMs = 60000;
    bool show = false;
    // --user-dialogs: the plug-in's own dialogs (file dialogs, message boxes) are left to the
    // person at the screen instead of being answered with OK.
    bool userDialogs = false;
    // --nested=N:VERB,…: exports called again from inside an export, when message N sent from
    // another thread arrives while the host waits in that export (a host handler that re-enters).
    uint32_t nestedMessage = 0;
    std::vector<StepKind> nestedCalls;
    std::vector<Step> steps;
};

bool ParseHostCommandLine(const std::vector<std::string>& args, HostOptions* options, std::string* error);
