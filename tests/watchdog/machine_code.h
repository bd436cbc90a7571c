#pragma once
// What the watchdog's stack reading needs to know of i386 machine code and of the names in a
// module's symbol table. Portable, so it is tested on both targets.
#include <cstdint>
#include <optional>
#include <string>

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
