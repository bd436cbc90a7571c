#pragma once
// One encoder per protocol that Flipper .ir files name in their parsed signals: a table of the
// protocol's nominal timings and a function from address and command to the first frame it sends,
// with the meaning Flipper gives the address and command bytes. The frame carries no repeat frame
// and no trailing gap: it ends on its last pulse, as a receiver sees the burst.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "capture_import/skip_reason.h"

// The protocols, in the order of the table: "NEC", "NECext", "NEC42", "NEC42ext", "Samsung32",
// "RC5", "RC5X", "RC6", "SIRC", "SIRC15", "SIRC20", "Kaseikyo", "RCA", "Pioneer".
std::vector<std::string> ProtocolNames();

// The number of address and command bits a protocol carries; false for an unknown name.
bool ProtocolFieldBits(std::string_view protocol, int& addressBits, int& commandBits);

// True for the protocols whose frames carry a toggle bit that alternates between presses: RC5 and
// RC5X (the third bit sent) and RC6 (the trailer bit).
bool ProtocolHasToggle(std::string_view protocol);

// The first frame of protocol (its name as Flipper writes it, exact case) for address and command,
// with the toggle bit 0, or 1 when toggled is set (protocols without one ignore it). False with a
// reason for an unknown protocol or an address or command wider than the protocol's field. RC5X
// takes commands 0 to 63, as Flipper writes them: the field bit that makes RC5 into RC5X is in the
// protocol's name.
bool EncodeProtocolFrame(std::string_view protocol, uint32_t address, uint32_t command,
                         std::vector<int32_t>& durations, SkipReason& error, bool toggled = false);

// The same with the reason as its English text.
inline bool EncodeProtocolFrame(std::string_view protocol, uint32_t address, uint32_t command,
                                std::vector<int32_t>& durations, std::string& error, bool toggled = false) {
    SkipReason reason;
    const bool encoded = EncodeProtocolFrame(protocol, address, command, durations, reason, toggled);
    if (!encoded)
        error = EnglishText(reason);
    return encoded;
}

// RC5 with a command of 64 to 127, as files that number RC5 commands up to 127 write it, is sent
// as RC5X with the command's low six bits (its seventh bit is the inverted field bit); protocol
// and command are changed in place. Everything else is left as it is.
void AsExtendedRc5(std::string& protocol, uint32_t& command);
