#include "support/train_results.h"

#include "decoding/pulse_train_decoder.h"
#include "decoding/raw_signature.h"
#include "receiver/receiver.h"

KeyCode DecodeCopy(Durations train, KeyCode previous) {
    return DecodePulseTrain(train.data(), static_cast<int32_t>(train.size()), previous);
}

std::string SignatureTextOf(const Durations& train) {
    uint8_t signature[kRawSignatureCapacity];
    const int32_t length = BuildRawSignature(train.data(), static_cast<int32_t>(train.size()), signature);
    char text[2 * kRawSignatureCapacity + 1];
    RawSignatureToText(signature, length, text);
    return text;
}
