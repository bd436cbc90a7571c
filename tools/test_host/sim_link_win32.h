#pragma once
// The host's side of the receiver simulator: reached through GetModuleHandleA only, so the host
// never keeps the simulator loaded (tools/receiver_simulator/sim_control.h).
#include <cstdint>
#include <string>

// Checks the script before it is handed over, so a typing error stops the run at once.
bool PrepareSimScript(const std::string* text, const std::string* file, std::string* error);

void EmitSimState(); // line "sim"
void EmitSimLog();   // lines "simlog", entries since the last call
bool SetSimPort(int64_t output, int64_t direction);
bool SetSimGetterStatus(int64_t outputStatus, int64_t directionStatus);
bool SetSimScript(const std::string& text, std::string* error);
