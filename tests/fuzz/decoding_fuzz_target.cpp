// Fuzz target for the decoder, the raw signature builder and the signature comparison, each also
// against the version before the speed work.
// Input: a form byte, eight bytes of previous code, then durations in the chosen form; the bytes
// are also read as two signature texts. Any broken property aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "decoding/pulse_train_decoder.h"
#include "decoding/raw_signature.h"
#include "receiver/receiver.h"
#include "support/code_checks.h"
#include "support/reference_decoding.h"
#include "support/reference_rc6.h"
#include "fuzz/fuzz_require.h"

namespace {

constexpr size_t kHeaderBytes = 9;

// Form 0: one byte per duration in steps of 50 us (zero included), like receiver ticks.
// Form 1: two bytes little-endian. Form 2: four bytes, any signed 32-bit value.
std::vector<int32_t> Durations(uint8_t form, const uint8_t* data, size_t size) {
    std::vector<int32_t> durations;
    const size_t width = form == 0 ? 1 : form == 1 ? 2 : 4;
    for (size_t i = 0; i + width <= size; i += width) {
        uint32_t value = 0;
        for (size_t k = 0; k < width; ++k)
            value |= static_cast<uint32_t>(data[i + k]) << (8 * k);
        durations.push_back(form == 0 ? static_cast<int32_t>(value * 50) : static_cast<int32_t>(value));
    }
    return durations;
}

void CheckDecoder(std::vector<int32_t> durations, KeyCode previous) {
    const int32_t count = static_cast<int32_t>(durations.size());
    std::vector<int32_t> again = durations;
    std::vector<int32_t> old = durations;
    const KeyCode code = DecodePulseTrain(durations.data(), count, previous);
    Require(IsWellFormedCode(code) || code == previous);
    if (count >= 3 && count <= 6)
        Require(code == 0 || code == previous);
    Require(DecodePulseTrain(again.data(), count, previous) == code);
    // The version before the speed work, with the RC-6 rules written out apart, gives the same code.
    Require(reference::DecodeWithRc6(old.data(), count, previous) == code);
}

void CheckSignature(const std::vector<int32_t>& durations) {
    const int32_t count = static_cast<int32_t>(durations.size());
    uint8_t signature[kRawSignatureCapacity];
    const int32_t length = BuildRawSignature(durations.data(), count, signature);
    Require(IsWellFormedSignature(signature, length, count));
    uint8_t old[kRawSignatureCapacity];
    Require(reference::BuildRawSignature(durations.data(), count, old) == length);
    Require(std::memcmp(old, signature, static_cast<size_t>(length)) == 0);
    if (length == 0)
        return;
    char text[2 * kRawSignatureCapacity + 1];
    RawSignatureToText(signature, length, text);
    Require(std::strlen(text) == static_cast<size_t>(2 * length));
    Require(SameRawSignature(text, text));
}

void CheckComparison(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const size_t split = size / 2;
    const std::string stored = bytes.substr(0, split);
    const std::string captured = bytes.substr(split);
    // Only the first two characters of each side decide where the comparison starts, and they must
    // be equal: the result cannot depend on the order.
    Require(SameRawSignature(stored.c_str(), captured.c_str()) ==
            SameRawSignature(captured.c_str(), stored.c_str()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kHeaderBytes)
        return 0;
    KeyCode previous = 0;
    std::memcpy(&previous, data + 1, sizeof previous);
    const std::vector<int32_t> durations = Durations(data[0] % 3, data + kHeaderBytes, size - kHeaderBytes);
    CheckDecoder(durations, previous);
    CheckDecoder(durations, 0);
    CheckSignature(durations);
    CheckComparison(data, size);
    return 0;
}
