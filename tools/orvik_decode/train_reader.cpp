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

// Digits with an optional leading sign, which is ignored. False when not a number or too long.
bool ParseDuration(const std::string& word, int32_t& value, std::string& error) {
    const size_t start = !word.empty() && (word[0] == '+' || word[0] == '-') ? 1 : 0;
    if (start == word.size() || word.find_first_not_of("0123456789", start) != std::string::npos) {
        error = "not a duration: \"" + word + "\"";
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
        if (!ParseDuration(word, value, error)) {
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
    if (!ParseDuration(words[1], value, error)) {
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
