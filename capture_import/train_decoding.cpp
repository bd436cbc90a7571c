#include "capture_import/train_decoding.h"

#include <algorithm>

#include "decoding/pulse_train_decoder.h"
#include "decoding/raw_signature.h"
#include "receiver/receiver.h"

namespace {

// A duration that no receiver can deliver would only give odd classes: such trains are reported.
// Only what a receiver would deliver (the first 513) is looked at.
std::string InvalidDuration(const std::vector<int32_t>& durations, int32_t scaler) {
    if (durations.empty())
        return "no durations";
    const size_t delivered = std::min(durations.size(), static_cast<size_t>(kPulseTrainCapacity));
    const int32_t longest = LongestReceivable(scaler);
    for (size_t k = 0; k < delivered; ++k) {
        const std::string where = " (duration " + std::to_string(k + 1) + " of the train)";
        if (durations[k] <= 0)
            return "duration " + std::to_string(durations[k]) + " is not above 0" + where;
        if (durations[k] > longest)
            return "duration " + std::to_string(durations[k]) + " is longer than any receiver delivers (" +
                   std::to_string(longest) + " us)" + where;
    }
    return "";
}

} // namespace

DecodeReport DecodeTrain(const std::vector<int32_t>& durations, KeyCode previousCode) {
    PulseTrain train{};
    train.count = static_cast<int32_t>(std::min(durations.size(), std::size(train.durations)));
    std::copy(durations.begin(), durations.begin() + train.count, train.durations);

    DecodeReport report;
    // The signature first: the decoder may rearrange the train.
    uint8_t signature[kRawSignatureCapacity];
    const int32_t length = BuildRawSignature(train.durations, train.count, signature);
    char text[2 * kRawSignatureCapacity + 1];
    RawSignatureToText(signature, length, text);
    report.rawSignature = text;
    report.code = DecodePulseTrain(train.durations, train.count, previousCode);
    return report;
}

DecodedTrain DecodeButton(const ImportedButton& button, DecodeSession& session) {
    DecodedTrain train;
    train.line = button.line;
    train.name = button.name;
    train.error = button.skipped.empty() ? InvalidDuration(button.durations, session.scaler) : button.skipped;
    if (train.error.empty()) {
        const std::vector<int32_t> delivered =
            session.model < 0
                ? button.durations
                : AsModelDelivers(button.durations, session.model, session.scaler, session.bufferSize);
        train.report = DecodeTrain(delivered, session.previousCode);
        train.repeatFrame = delivered.size() >= 3 && delivered.size() <= 6;
    } else {
        ++session.skipped;
    }
    session.previousCode = train.report.code;
    return train;
}
