#include "capture_import/train_decoding.h"

#include <algorithm>

#include "decoding/pulse_train_decoder.h"
#include "decoding/raw_signature.h"
#include "receiver/receiver.h"

namespace {

// The decoder's frame gap: a pause longer than this, from position 11 on, ends the frame.
constexpr int32_t kFrameGapMicroseconds = 10200;
constexpr size_t kFirstFrameGapPosition = 11;

bool Receivable(int32_t duration, int32_t longest) {
    return duration > 0 && duration <= longest;
}

// The durations a receiver delivers of a train (at most the first 513), cut where a duration no
// receiver delivers stands after the frame; false with the reason when the frame itself holds one.
bool UsableTrain(const std::vector<int32_t>& durations, int32_t scaler, std::vector<int32_t>& usable,
                 SkipReason& error) {
    if (durations.empty()) {
        error = Reason(SkipReasonId::NoDurations);
        return false;
    }
    const size_t delivered = std::min(durations.size(), static_cast<size_t>(kPulseTrainCapacity));
    const int32_t longest = LongestReceivable(scaler);
    size_t gap = delivered; // the frame gap, or the final pause: where the frame has ended
    if (delivered % 2 == 0)
        gap = delivered - 1;
    for (size_t k = 0; k < delivered; ++k) {
        const int32_t d = durations[k];
        if (k % 2 == 1 && k >= kFirstFrameGapPosition && d > kFrameGapMicroseconds)
            gap = std::min(gap, k);
        if (Receivable(d, longest))
            continue;
        if (k >= gap && k > 0) {
            // A receiver's timeout ends the burst at such a pause; a train ends on a pulse.
            usable.assign(durations.begin(),
                          durations.begin() + static_cast<std::ptrdiff_t>(k - (k % 2 == 0)));
            return true;
        }
        const std::string position = std::to_string(k + 1);
        error = d <= 0 ? Reason(SkipReasonId::DurationNotAboveZero, {std::to_string(d), position})
                       : Reason(SkipReasonId::DurationTooLong,
                                {std::to_string(d), std::to_string(longest), position});
        return false;
    }
    usable = durations;
    return true;
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
    train.remote = button.remote;
    std::vector<int32_t> usable;
    if (button.reason.empty()) {
        UsableTrain(button.durations, session.scaler, usable, train.errorReason);
    } else {
        train.errorReason = button.reason;
    }
    if (train.errorReason.empty()) {
        const auto delivered = [&](const std::vector<int32_t>& durations) {
            return session.model < 0
                       ? durations
                       : AsModelDelivers(durations, session.model, session.scaler, session.bufferSize);
        };
        const std::vector<int32_t> received = delivered(usable);
        train.report = DecodeTrain(received, session.previousCode);
        train.delivered = std::min(received.size(), static_cast<size_t>(kPulseTrainCapacity));
        train.repeatFrame = received.size() >= 3 && received.size() <= 6;
        std::vector<int32_t> toggled;
        SkipReason unused;
        if (!button.toggled.empty() && UsableTrain(button.toggled, session.scaler, toggled, unused)) {
            train.hasToggled = true;
            train.toggled = DecodeTrain(delivered(toggled), session.previousCode);
        }
    } else {
        train.error = EnglishText(train.errorReason);
        ++session.skipped;
    }
    session.previousCode = train.report.code;
    return train;
}

SkipReason WhyNothing(const DecodedTrain& train) {
    if (!train.errorReason.empty() || train.report.code != 0 || !train.report.rawSignature.empty())
        return train.errorReason;
    // A raw signature needs a pulse and a pause, and at most four lengths of each (raw_signature.h).
    return Reason(train.delivered < 2 ? SkipReasonId::NothingFromTooFew : SkipReasonId::NothingFromLengths);
}
