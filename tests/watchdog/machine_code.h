#pragma once
// What the watchdog's stack reading needs to know of i386 machine code and of the names in a
// module's symbol table. Portable, so it is tested on both targets.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The bytes just before an address, oldest first: enough for the longest call instruction.
constexpr int kCallLookBack = 7;
using BytesBefore = uint8_t[kCallLookBack];

// Whether the bytes end with a call instruction (direct, through a register or through memory),
// so that the address after them is where a call returns to.
bool EndsWithCall(const BytesBefore& bytes);
// The displacement of a direct call (E8 rel32) that the bytes end with: its target is the address
// after it plus this.
std::optional<int32_t> DirectCallDisplacement(const BytesBefore& bytes);
// Where the jump of an import's stub ("jmp [slot]", FF 25) reads its target from.
std::optional<uint32_t> ImportJumpSlot(const uint8_t (&code)[6]);

// A name from a module's symbol table as a person reads it: the i386 underscore and the stdcall
// argument size taken off, C++ names demangled, very long ones cut.
std::string ReadableSymbol(std::string name);

// A thread's stack as the report shows it: its instruction pointer, then every return address found
// on it, innermost first. A return address whose direct call goes to none of the functions of the
// frames taken so far is doubtful: a word left over from an earlier call (or a call that jumped
// on). Indirect calls cannot be checked and are taken.
struct StackFrame {
    uint32_t address;
    bool doubtful;
};
struct CodeFacts {
    std::function<bool(uint32_t)> isReturnAddress;
    std::function<uint32_t(uint32_t)> directCallTarget; // 0 for an indirect call
    std::function<uint32_t(uint32_t)> functionStart;    // 0 when unknown
};
std::vector<StackFrame> StackFrames(uint32_t instruction, const std::vector<uint32_t>& stack,
                                    const CodeFacts& code, size_t maxFrames);
