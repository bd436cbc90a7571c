#pragma once
// One encoder per protocol that Flipper .ir files name in their parsed signals: a table of the
// protocol's nominal timings and a function from address and command to the first frame it sends,
// with the meaning Flipper gives the address and command bytes. The frame carries no repeat frame
// and no trailing gap: it ends on its last pulse, as a receiver sees the burst. A toggle bit is 0.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The protocols, in the order of the table: "NEC", "NECext", "NEC42", "NEC42ext", "Samsung32",
// "RC5", "RC5X", "RC6", "SIRC", "SIRC15", "SIRC20", "Kaseikyo", "RCA", "Pioneer".
std::vector<std::string> ProtocolNames();

// The number of address and command bits a protocol carries; false for an unknown name.
bool ProtocolFieldBits(std::string_view protocol, int& addressBits, int& commandBits);

// The first frame of protocol (its name as Flipper writes it, exact case) for address and command.
// False with a reason for an unknown protocol or an address or command wider than the protocol's
// field.
bool EncodeProtocolFrame(std::string_view protocol, uint32_t address, uint32_t command,
                         std::vector<int32_t>& durations, std::string& error);
