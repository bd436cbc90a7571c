#include "decoding/raw_signature.h"

#include <algorithm>
#include <climits>

#include "decoding/raw_class_table.h"
#include "receiver/receiver.h"

namespace {

// The longest train whose signature can still fit: one class of each kind and four class numbers
// per byte. Longer trains are refused before anything is copied.
constexpr int32_t kHeaderAndSmallestCentres = 1 + 2 + 2;
constexpr int32_t kMaxSignatureDurations = 4 * (kRawSignatureMaxLength - kHeaderAndSmallestCentres);

uint8_t* WriteCentres(const RawClassTable& table, uint8_t* out) {
    for (int32_t k = 0; k < table.size; ++k) {
        // Only the low 16 bits are kept; stored signatures have them this way.
        const uint32_t centre = static_cast<uint32_t>(table.Centre(k));
        *out++ = static_cast<uint8_t>(centre & 0xFF);
        *out++ = static_cast<uint8_t>((centre >> 8) & 0xFF);
    }
    return out;
}

// Class numbers by counting the class maxima below a value: the first class whose maximum is at
// least the value, without a branch. The longest class has no bound, so a value above every
// class gets the longest class (number size - 1): the same train always gives the same number,
// and a duration that is a little shorter in the next reception, just inside the longest class,
// still gets that number. Position 0 of each group of four is classified among the pulse classes,
// positions 1 to 3 among the pause classes: the pulse at position 2 too, on purpose, since stored
// signatures were built this way.
struct ClassBounds {
    int32_t below[kRawClassCapacity - 1];

    explicit ClassBounds(const RawClassTable& table) {
        for (int k = 0; k < kRawClassCapacity - 1; ++k)
            below[k] = k < table.size - 1 ? table.maximum[k] : INT32_MAX;
    }
};

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
    // One pass over both kinds; a duration of 0 or below gives no signature.
    RawClassBuckets pulseRuns;
    RawClassBuckets pauseRuns;
    int32_t i = 0;
    for (; i + 1 < count; i += 2) {
        const int32_t pulse = durations[i];
        const int32_t pause = durations[i + 1];
        if (pulse <= 0 || pause <= 0)
            return 0;
        pulseRuns.Add(pulse);
        pauseRuns.Add(pause);
    }
    if (i < count) {
        if (durations[i] <= 0)
            return 0;
        pulseRuns.Add(durations[i]);
    }
    RawClassTable pulses;
    RawClassTable pauses;
    if (!pulseRuns.ToTable(pulses) || !pauseRuns.ToTable(pauses))
        return 0;
    const int32_t length = 1 + 2 * pulses.size + 2 * pauses.size + (count + 3) / 4;
    if (length > kRawSignatureMaxLength)
        return 0;

    uint8_t* p = out;
    *p++ = static_cast<uint8_t>(pulses.size * 16 + pauses.size);
    p = WriteCentres(pulses, p);
    p = WriteCentres(pauses, p);
    // The bounds as plain locals, so that the loop keeps them in registers.
    const ClassBounds pulseBounds(pulses);
    const ClassBounds pauseBounds(pauses);
    const int32_t p0 = pulseBounds.below[0], p1 = pulseBounds.below[1], p2 = pulseBounds.below[2];
    const int32_t s0 = pauseBounds.below[0], s1 = pauseBounds.below[1], s2 = pauseBounds.below[2];
    const auto pulseClass = [=](int32_t v) { return (v > p0) + (v > p1) + (v > p2); };
    const auto pauseClass = [=](int32_t v) { return (v > s0) + (v > s1) + (v > s2); };
    int32_t g = 0;
    for (; g + 4 <= count; g += 4) {
        const int32_t* d = durations + g;
        *p++ = static_cast<uint8_t>(pulseClass(d[0]) << 6 | pauseClass(d[1]) << 4 | pauseClass(d[2]) << 2 |
                                    pauseClass(d[3]));
    }
    if (g < count) {
        // A position beyond the end contributes class number 0, as a value of 1 does.
        int32_t d[4] = {1, 1, 1, 1};
        std::copy(durations + g, durations + count, d);
        *p++ = static_cast<uint8_t>(pulseClass(d[0]) << 6 | pauseClass(d[1]) << 4 | pauseClass(d[2]) << 2 |
                                    pauseClass(d[3]));
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
