#include "capture_import/train_reader.h"

#include <algorithm>
#include <limits>

#include "capture_import/text_words.h"

namespace {

// A mode2 space above this ends the train, like the silence after a burst.
constexpr int32_t kMode2TrainEndMicroseconds = 30000;

void Lengthen(int32_t& duration, int32_t more) {
    duration = static_cast<int32_t>(
        std::min<int64_t>(int64_t{duration} + more, std::numeric_limits<int32_t>::max()));
}

} // namespace

void TrainReader::Finish(std::vector<ImportedButton>& out) {
    if (!pending_.durations.empty())
        out.push_back(pending_);
    pending_ = ImportedButton{};
}

void TrainReader::Malformed(SkipReason error, int line, std::vector<ImportedButton>& out) {
    // What was collected before the bad line is still a train of its own.
    Finish(out);
    ImportedButton button;
    button.line = line;
    SetSkipped(button, std::move(error));
    out.push_back(button);
}

void TrainReader::AddTrainLine(const std::vector<std::string>& words, int line,
                               std::vector<ImportedButton>& out) {
    Finish(out);
    ImportedButton button;
    button.line = line;
    for (const std::string& word : words) {
        int32_t value = 0;
        SkipReason error;
        if (!ParseDuration(word, DurationSigns::ByPosition, button.durations.size(), value, error)) {
            Malformed(error, line, out);
            return;
        }
        if (button.durations.size() < kMaxImportedDurations)
            button.durations.push_back(value);
    }
    out.push_back(button);
}

void TrainReader::AddMode2Line(const std::vector<std::string>& words, int line,
                               std::vector<ImportedButton>& out) {
    int32_t value = 0;
    SkipReason error;
    if (words.size() != 2) {
        Malformed(Reason(SkipReasonId::Mode2WithoutValue, {words[0]}), line, out);
        return;
    }
    if (!ParseDuration(words[1], DurationSigns::Refused, 0, value, error)) {
        Malformed(error, line, out);
        return;
    }
    std::vector<int32_t>& train = pending_.durations;
    const bool pulse = words[0] == "pulse";
    if (words[0] == "timeout" || (!pulse && value > kMode2TrainEndMicroseconds)) {
        Finish(out);
        return;
    }
    if (train.empty()) {
        // A train starts with a pulse; the silence before it is not part of it.
        if (pulse) {
            pending_.line = line;
            train.push_back(value);
        }
        return;
    }
    // Even positions are pulses; two of a kind in a row are one longer duration.
    const bool lastIsPulse = train.size() % 2 == 1;
    if (lastIsPulse == pulse)
        Lengthen(train.back(), value);
    else if (train.size() < kMaxImportedDurations)
        train.push_back(value);
}
