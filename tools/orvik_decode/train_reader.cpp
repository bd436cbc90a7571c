#include "tools/orvik_decode/train_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>

namespace {

// A mode2 space above this ends the train, like the silence after a burst.
constexpr int64_t kMode2TrainEndMicroseconds = 30000;
constexpr int64_t kLongest = std::numeric_limits<int32_t>::max();

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == ',' || c == '\r') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word.push_back(c);
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

// Where a sign may stand in front of a duration: nowhere, or where it matches the position of
// the duration ("+" pulses, "-" pauses) and so adds nothing but a check.
enum class Signs { Refused, ByPosition };

// Digits, with a sign where allowed. False when not a number, too long, or a sign is out of place.
bool ParseDuration(const std::string& word, Signs signs, size_t position, int32_t& value,
                   std::string& error) {
    const bool signed_ = !word.empty() && (word[0] == '+' || word[0] == '-');
    const size_t start = signed_ ? 1 : 0;
    if (start == word.size() || word.find_first_not_of("0123456789", start) != std::string::npos) {
        error = "not a duration: \"" + word + "\"";
        return false;
    }
    if (signed_ && (signs == Signs::Refused || (word[0] == '-') != (position % 2 == 1))) {
        error = word[0] == '-' ? "negative duration: \"" + word + "\""
                               : "a pause marked as a pulse: \"" + word + "\"";
        return false;
    }
    errno = 0;
    const unsigned long long parsed = std::strtoull(word.c_str() + start, nullptr, 10);
    if (errno != 0 || parsed > static_cast<unsigned long long>(kLongest)) {
        error = "duration out of range: \"" + word + "\"";
        return false;
    }
    value = static_cast<int32_t>(parsed);
    return true;
}

// The text after the first ':', without blanks at either end.
std::string ValueOf(const std::string& line) {
    const size_t colon = line.find(':');
    const size_t first = line.find_first_not_of(" \t", colon + 1);
    const size_t last = line.find_last_not_of(" \t\r");
    return first == std::string::npos || last < first ? "" : line.substr(first, last - first + 1);
}

bool IsKey(const std::string& word) {
    return word.size() > 1 && word.back() == ':';
}

void Lengthen(int32_t& duration, int32_t more) {
    duration = static_cast<int32_t>(std::min<int64_t>(int64_t{duration} + more, kLongest));
}

} // namespace

void TrainReader::AddLine(const std::string& text, std::vector<TrainItem>& items) {
    ++lineNumber_;
    const std::vector<std::string> words = Words(text.substr(0, text.find('#')));
    if (words.empty())
        return;
    if (words[0] == "pulse" || words[0] == "space" || words[0] == "timeout")
        AddMode2(words, items);
    else if (IsKey(words[0]))
        AddKeyLine(words, ValueOf(text.substr(0, text.find('#'))), items);
    else
        AddTrainLine(words, items);
}

void TrainReader::Finish(std::vector<TrainItem>& items) {
    if (!pending_.durations.empty())
        items.push_back(pending_);
    pending_ = TrainItem{};
}

void TrainReader::Malformed(const std::string& error, std::vector<TrainItem>& items) {
    // What was collected before the bad line is still a train of its own.
    Finish(items);
    TrainItem item;
    item.line = lineNumber_;
    item.error = error;
    items.push_back(item);
}

void TrainReader::AddTrainLine(const std::vector<std::string>& words, std::vector<TrainItem>& items) {
    Finish(items);
    TrainItem item;
    item.line = lineNumber_;
    for (const std::string& word : words) {
        int32_t value = 0;
        std::string error;
        if (!ParseDuration(word, Signs::ByPosition, item.durations.size(), value, error)) {
            Malformed(error, items);
            return;
        }
        item.durations.push_back(value);
    }
    items.push_back(item);
}

void TrainReader::AddMode2(const std::vector<std::string>& words, std::vector<TrainItem>& items) {
    int32_t value = 0;
    std::string error;
    if (words.size() != 2) {
        Malformed("expected \"" + words[0] + " N\"", items);
        return;
    }
    if (!ParseDuration(words[1], Signs::Refused, 0, value, error)) {
        Malformed(error, items);
        return;
    }
    std::vector<int32_t>& train = pending_.durations;
    const bool pulse = words[0] == "pulse";
    if (words[0] == "timeout" || (!pulse && value > kMode2TrainEndMicroseconds)) {
        Finish(items);
        return;
    }
    if (train.empty()) {
        // A train starts with a pulse; the silence before it is not part of it.
        if (pulse) {
            pending_.line = lineNumber_;
            train.push_back(value);
        }
        return;
    }
    // Even positions are pulses; two of a kind in a row are one longer duration.
    const bool lastIsPulse = train.size() % 2 == 1;
    if (lastIsPulse == pulse)
        Lengthen(train.back(), value);
    else
        train.push_back(value);
}

void TrainReader::AddKeyLine(const std::vector<std::string>& words, const std::string& value,
                             std::vector<TrainItem>& items) {
    Finish(items);
    const std::string key = words[0].substr(0, words[0].size() - 1);
    if (key == "name") {
        buttonName_ = value;
        buttonType_.clear();
        return;
    }
    if (key == "type") {
        buttonType_ = words.size() == 2 ? words[1] : "";
        if (buttonType_ == "parsed") {
            // Stored as protocol, address and command: there are no durations to decode.
            Malformed("button \"" + buttonName_ + "\" is a parsed signal, not a raw one: skipped", items);
            items.back().name = buttonName_;
        } else if (buttonType_ != "raw") {
            Malformed("unknown signal type \"" + (words.size() > 1 ? words[1] : "") + "\"", items);
        }
        return;
    }
    if (key == "data") {
        if (buttonType_ != "raw") {
            Malformed("\"data:\" outside a raw signal", items);
            return;
        }
        TrainItem item;
        item.line = lineNumber_;
        item.name = buttonName_;
        for (size_t k = 1; k < words.size(); ++k) {
            int32_t value = 0;
            std::string error;
            if (!ParseDuration(words[k], Signs::Refused, 0, value, error)) {
                Malformed(error, items);
                items.back().name = buttonName_;
                return;
            }
            item.durations.push_back(value);
        }
        items.push_back(item);
        return;
    }
    // The file's header and the carrier of a raw signal, or the fields of a parsed one.
    static const char* const kKnown[] = {"Filetype", "Version", "frequency", "duty_cycle",
                                         "protocol", "address", "command"};
    for (const char* known : kKnown) {
        if (key == known)
            return;
    }
    Malformed("unknown key \"" + key + "\"", items);
}
