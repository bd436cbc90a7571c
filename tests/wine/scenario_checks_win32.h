#pragma once
// Checks and building blocks shared by the scenario tests.
#include <string>
#include <vector>

#include "tests/wine/host_run_win32.h"

constexpr const char* kPluginName = "OrvikPlug-USB";
constexpr const char* kErrorLoading = "Error loading OrvikUSB.dll";
constexpr const char* kInvalidDriver = "Invalid OrvikUSB.dll";
constexpr const char* kIncorrectVersion = "Incorrect core version.";

// One RC-5 frame as receiver model 0 delivers it at 85.33 us per tick (T = 10 ticks, 2T = 21):
// start bits 1 1, toggle 1, address 00101, command 001100. It decodes to 010E00000000314C.
constexpr const char* kRc5FrameBytes = "10 10 10 10 21 10 10 21 21 21 21 10 10 21 10 10 21 10 10";
constexpr const char* kRc5CodeText = "010E00000000314C";

std::string SimScriptOption(const std::string& script);
// Puts a script into the run's folder and points the simulator at it: scripts of many frames are
// longer than a command line may be.
void UseSimScript(Scenario& scenario, const std::string& script);

// The plug-in's boxes, in order: each recorded at the call with caption PluginName, flags 16
// (OK button, error icon) and no owner, and each dismissed on screen with the same texts.
void ExpectBoxes(const HostRun& run, const std::vector<std::string>& texts);

// Lines of a kind printed after step `after` and before the line of step `before`.
std::vector<const ParsedLine*> LinesBetween(const HostRun& run, const std::string& kind, int after,
                                            int before);

// Threads of the plug-in's own (started in its module) once step `step` had returned.
int64_t PluginThreadsAfter(const HostRun& run, int step);
