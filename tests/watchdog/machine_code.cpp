#include "tests/watchdog/machine_code.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kMaxName = 110;

// The ModR/M byte of "FF /2" (call) with the given mode: register (3), memory (0), memory with an
// 8-bit (1) or a 32-bit (2) displacement.
bool CallModRm(uint8_t modrm, int mode) {
    return (modrm & 0x38) == 0x10 && (modrm >> 6) == mode;
}

} // namespace

bool EndsWithCall(const BytesBefore& b) {
    const bool sib0 = (b[5] & 7) == 4, sib1 = (b[4] & 7) == 4;
    return b[2] == 0xE8 ||                                                               // call rel32
           (b[1] == 0xFF && b[2] == 0x15) ||                                             // call [abs32]
           (b[1] == 0xFF && CallModRm(b[2], 2) && (b[2] & 7) != 4) ||                    // call [reg+d32]
           (b[0] == 0xFF && CallModRm(b[1], 2) && (b[1] & 7) == 4) ||                    // call [sib+d32]
           (b[5] == 0xFF && CallModRm(b[6], 3)) ||                                       // call reg
           (b[5] == 0xFF && CallModRm(b[6], 0) && (b[6] & 7) != 4 && (b[6] & 7) != 5) || // call [reg]
           (b[4] == 0xFF && CallModRm(b[5], 0) && sib0 && (b[6] & 7) != 5) ||            // call [sib]
           (b[4] == 0xFF && CallModRm(b[5], 1) && !sib0) ||                              // call [reg+d8]
           (b[3] == 0xFF && CallModRm(b[4], 1) && sib1);                                 // call [sib+d8]
}

std::optional<int32_t> DirectCallDisplacement(const BytesBefore& bytes) {
    if (bytes[2] != 0xE8)
        return std::nullopt;
    int32_t displacement;
    std::memcpy(&displacement, bytes + 3, sizeof displacement);
    return displacement;
}

std::optional<uint32_t> ImportJumpSlot(const uint8_t (&code)[6]) {
    if (code[0] != 0xFF || code[1] != 0x25)
        return std::nullopt;
    uint32_t slot;
    std::memcpy(&slot, code + 2, sizeof slot);
    return slot;
}

std::string ReadableSymbol(std::string name) {
    if (!name.empty() && name[0] == '_')
        name.erase(0, 1);
    const size_t at = name.rfind('@');
    if (at != std::string::npos && at > 0 && at + 1 < name.size() &&
        name.find_first_not_of("0123456789", at + 1) == std::string::npos)
        name.erase(at);
    if (name.compare(0, 2, "_Z") == 0) {
        int status = 0;
        char* plain = abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status);
        if (status == 0 && plain != nullptr)
            name = plain;
        std::free(plain);
    }
    if (name.size() > kMaxName)
        name = name.substr(0, kMaxName) + "...";
    return name;
}

std::vector<StackFrame> StackFrames(uint32_t instruction, const std::vector<uint32_t>& stack,
                                    const CodeFacts& code, size_t maxFrames) {
    std::vector<StackFrame> frames = {{instruction, false}};
    // Not just the last frame's function: the last may have been a left-over word of an
    // indirect call.
    std::vector<uint32_t> within = {code.functionStart(instruction)};
    for (uint32_t word : stack) {
        if (frames.size() >= maxFrames)
            break;
        if (word == frames.back().address || !code.isReturnAddress(word))
            continue;
        const uint32_t target = code.directCallTarget(word);
        const bool doubtful = target != 0 && std::find(within.begin(), within.end(), target) == within.end();
        frames.push_back({word, doubtful});
        if (!doubtful)
            within.push_back(code.functionStart(word));
    }
    return frames;
}
