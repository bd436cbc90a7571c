#pragma once
#include <cstdint>

// Reduces a train to its raw signature (header, class centres, two-bit class numbers).
// out must hold 1024 bytes. Returns the length in bytes (at most 1023), 0 when no signature.
int32_t BuildRawSignature(const int32_t* durations, int32_t count, uint8_t* out);

// Upper-case hexadecimal text of a signature, two digits per byte, NUL-terminated.
// text must hold 2 * length + 1 characters.
void RawSignatureToText(const uint8_t* signature, int32_t length, char* text);

// True when the stored text and the captured text have the same header and class numbers;
// the class centres are not compared. Both texts NUL-terminated.
bool SameRawSignature(const char* stored, const char* captured);
