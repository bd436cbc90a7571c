#pragma once
// Control side of the receiver simulator (OrvikUSB.dll), for the test host and tests.
//
// The controller must not hold a reference of its own on the simulator: the plug-in loads and
// unloads it, and that is what tests observe. So the controller finds the module with
// GetModuleHandleA("OrvikUSB.dll") and resolves these stdcall exports by name each time.
// What must be known before the plug-in loads the simulator, or after it unloaded it, travels in
// process environment variables.
#include <cstdint>

// Script text, or the path of a file that holds it (read when the simulator is loaded).
constexpr const char* kSimScriptVar = "ORVIK_SIM_SCRIPT";
constexpr const char* kSimScriptFileVar = "ORVIK_SIM_SCRIPT_FILE";
// The host window, in hexadecimal, for the script's hostmsg step.
constexpr const char* kSimHostWindowVar = "ORVIK_SIM_HOST_WINDOW";
// Decimal counts of process attaches and detaches of the simulator; they survive unloading.
constexpr const char* kSimAttachesVar = "ORVIK_SIM_ATTACHES";
constexpr const char* kSimDetachesVar = "ORVIK_SIM_DETACHES";

enum SimCall : int32_t {
    kSimGetInfraCode,
    kSimSetDirection,
    kSimGetDirection,
    kSimSetOutput,
    kSimGetOutput,
    kSimCallKinds
};

struct SimState {
    int32_t calls[kSimCallKinds]; // calls of each driver function since load
    int32_t output;               // data port output byte
    int32_t direction;            // data port direction byte
    int32_t outputGetterStatus;   // status DoGetOutDataPort answers (0: works)
    int32_t directionGetterStatus;
    int32_t threadAttaches; // threads started in the process since load
    int32_t threadDetaches; // threads ended in the process since load
    int32_t infraThreads;   // distinct threads that called DoGetInfraCode, at most 4096
    int32_t batchesHandedOver;
    int32_t batchesDropped; // due while the queue was full
    int32_t scriptFinished; // every step ran and every answer was taken
    int32_t logEntries;     // entries written to the event log since load
    char scriptError[160];  // why the script was refused; empty when it was accepted
};

enum SimLogKind : int32_t {
    kSimLogOutputWrite = 1, // value: the byte written by DoSetOutDataPort
    kSimLogDirectionWrite,  // value: the byte written by DoSetDataPortDirection
    kSimLogHandOver,        // value: batch number in the script; status and count as answered
    kSimLogHostMessage,     // value: message number; status: the send's result (0 on failure)
};

struct SimLogEntry {
    int64_t qpc; // QueryPerformanceCounter at the moment of the call
    int32_t kind;
    int32_t value;
    int32_t status;
    int32_t count;
    uint32_t thread;
};

constexpr int kSimLogCapacity = 8192;

// Exports (stdcall, undecorated):
//   int32_t SimSetScript(const char* text, char* error, int32_t errorSize)  0 = accepted
//   void    SimGetState(SimState* state)
//   void    SimSetPort(int32_t output, int32_t direction)
//   void    SimSetGetterStatus(int32_t outputStatus, int32_t directionStatus)
//   int32_t SimCopyLog(SimLogEntry* entries, int32_t capacity, int32_t* firstIndex)
//           copies the oldest entries the log still holds (it keeps the latest kSimLogCapacity),
//           returns how many it copied and sets *firstIndex to the index since load of the first
