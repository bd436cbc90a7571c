#include "decoding/raw_signature.h"

#include "decoding/durations.h"
#include "decoding/raw_class_table.h"
#include "receiver/receiver.h"

namespace {

// The longest train whose signature can still fit: one class of each kind and four class numbers
// per byte. Longer trains are refused before anything is copied.
constexpr int32_t kHeaderAndSmallestCentres = 1 + 2 + 2;
constexpr int32_t kMaxSignatureDurations = 4 * (kRawSignatureMaxLength - kHeaderAndSmallestCentres);

// Copies the durations at first, first + 2, ... and returns their number.
int32_t CopyKind(const int32_t* durations, int32_t count, int32_t first, int32_t* values) {
    int32_t n = 0;
    for (int32_t i = first; i < count; i += 2)
        values[n++] = durations[i];
    return n;
}

uint8_t* WriteCentres(const RawClassTable& table, uint8_t* out) {
    for (int32_t k = 0; k < table.size; ++k) {
        // Only the low 16 bits are kept; stored signatures have them this way.
        const uint32_t centre = static_cast<uint32_t>(table.Centre(k));
        *out++ = static_cast<uint8_t>(centre & 0xFF);
        *out++ = static_cast<uint8_t>((centre >> 8) & 0xFF);
    }
    return out;
}

// Class number of the duration at position i: position 0 of each group of four among the pulse
// classes, positions 1 to 3 among the pause classes. The pulse at position 2 is classified among the
// pause classes on purpose: stored signatures were built this way. When it is longer than every
// pause class it gets the longest pause class (number S - 1): the same train always gives the same
// number, and a pulse that is a little shorter in the next reception, just inside the longest
// class, still gets that number.
uint8_t ClassNumber(const int32_t* durations, int32_t count, int32_t i, const RawClassTable& pulses,
                    const RawClassTable& pauses) {
    if (i >= count)
        return 0;
    const RawClassTable& table = i % 4 == 0 ? pulses : pauses;
    return static_cast<uint8_t>(table.ClassOf(durations[i]));
}

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

int32_t BuildRawSignature(const int32_t* durations, int32_t count, uint8_t* out) {
    if (durations == nullptr || out == nullptr || count < 2 || count > kMaxSignatureDurations)
        return 0;
    if (!AllAboveZero(durations, count))
        return 0;

    int32_t values[(kMaxSignatureDurations + 1) / 2];
    RawClassTable pulses;
    RawClassTable pauses;
    if (!BuildRawClassTable(values, CopyKind(durations, count, 0, values), pulses) ||
        !BuildRawClassTable(values, CopyKind(durations, count, 1, values), pauses))
        return 0;
    const int32_t length = 1 + 2 * pulses.size + 2 * pauses.size + (count + 3) / 4;
    if (length > kRawSignatureMaxLength)
        return 0;

    uint8_t* p = out;
    *p++ = static_cast<uint8_t>(pulses.size * 16 + pauses.size);
    p = WriteCentres(pulses, p);
    p = WriteCentres(pauses, p);
    for (int32_t i = 0; i < count; i += 4) {
        uint8_t packed = 0;
        for (int32_t k = 0; k < 4; ++k)
            packed = static_cast<uint8_t>(packed * 4 + ClassNumber(durations, count, i + k, pulses, pauses));
        *p++ = packed;
    }
    return length;
}

void RawSignatureToText(const uint8_t* signature, int32_t length, char* text) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (int32_t i = 0; i < length; ++i) {
        text[2 * i] = kDigits[signature[i] >> 4];
        text[2 * i + 1] = kDigits[signature[i] & 0xF];
    }
    text[length > 0 ? 2 * length : 0] = '\0';
}

bool SplitRawSignatureText(std::string_view text, RawSignatureParts& parts) {
    if (text.size() < 2)
        return false;
    const int pulses = HexDigitValue(text[0]);
    const int pauses = HexDigitValue(text[1]);
    if (pulses < 0 || pauses < 0)
        return false;
    // The header and the class centres are skipped: only the class sequence is compared.
    const size_t skip = 2 + 4 * static_cast<size_t>(pulses + pauses);
    if (text.size() < skip)
        return false;
    parts.header = text.substr(0, 2);
    parts.classes = text.substr(skip);
    return true;
}

bool SameRawSignature(const char* stored, const char* captured) {
    RawSignatureParts s;
    RawSignatureParts c;
    if (!stored || !captured || !SplitRawSignatureText(stored, s) || !SplitRawSignatureText(captured, c))
        return false;
    return s.header == c.header && s.classes == c.classes;
}
