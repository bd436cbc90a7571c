#pragma once
#include <cstdint>
#include <string_view>

// Reduces a train to its raw signature (header, class centres, two-bit class numbers).
// out must hold 1024 bytes. Returns the length in bytes (at most 1023), 0 when no signature.
int32_t BuildRawSignature(const int32_t* durations, int32_t count, uint8_t* out);

// Upper-case hexadecimal text of a signature, two digits per byte, NUL-terminated.
// text must hold 2 * length + 1 characters.
void RawSignatureToText(const uint8_t* signature, int32_t length, char* text);

// True when the stored text and the captured text have the same header and class numbers;
// the class centres are not compared. Both texts NUL-terminated.
bool SameRawSignature(const char* stored, const char* captured);

// The parts of a signature text that SameRawSignature compares: the two header digits and the class
// numbers behind the centres. Two texts match exactly when both split and both parts are equal.
struct RawSignatureParts {
    std::string_view header;
    std::string_view classes;
};
// False when the text can match nothing (no header, a header digit that is no digit or letter, or
// shorter than its header and centres).
bool SplitRawSignatureText(std::string_view text, RawSignatureParts& parts);
