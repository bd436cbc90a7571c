#include "decoding/raw_signature.h"

#include <cstring>

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    return -1;
}

} // namespace

void RawSignatureToText(const uint8_t* signature, int32_t length, char* text) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (int32_t i = 0; i < length; ++i) {
        text[2 * i] = kDigits[signature[i] >> 4];
        text[2 * i + 1] = kDigits[signature[i] & 0xF];
    }
    text[length > 0 ? 2 * length : 0] = '\0';
}

bool SameRawSignature(const char* stored, const char* captured) {
    if (!stored || !captured)
        return false;
    const size_t storedLength = std::strlen(stored);
    const size_t capturedLength = std::strlen(captured);
    if (storedLength < 2 || capturedLength < 2 || stored[0] != captured[0] || stored[1] != captured[1])
        return false;
    const int pulses = HexDigitValue(captured[0]);
    const int pauses = HexDigitValue(captured[1]);
    if (pulses < 0 || pauses < 0)
        return false;
    // The header and the class centres are skipped: only the class sequence is compared.
    const size_t skip = 2 + 4 * static_cast<size_t>(pulses + pauses);
    if (storedLength < skip || capturedLength < skip)
        return false;
    return storedLength == capturedLength && std::strcmp(stored + skip, captured + skip) == 0;
}
