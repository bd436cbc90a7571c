#include "tools/receiver_simulator/sim_script.h"

#include "tools/common/number_text.h"

namespace {

// A finite loop without waits could be due all at once; this many steps per poll keeps one poll
// short, and the rest runs at the next poll.
constexpr int kStepsPerPoll = 100000;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t')
            ++i;
        if (i > start)
            words.push_back(s.substr(start, i - start));
    }
    return words;
}

bool ParseInt32(std::string_view text, int32_t* value) {
    int64_t wide = 0;
    if (!ParseInteger(text, &wide) || wide < INT32_MIN || wide > INT32_MAX)
        return false;
    *value = static_cast<int32_t>(wide);
    return true;
}

// "V" or "V*K": K copies of the byte V.
bool AppendBytes(std::string_view word, std::vector<uint8_t>* bytes, std::string* why) {
    int64_t value = 0;
    int64_t copies = 1;
    size_t star = word.find('*');
    if (!ParseInteger(word.substr(0, star), &value) || value < 0 || value > 255) {
        *why = "not a byte: " + std::string(word);
        return false;
    }
    if (star != std::string_view::npos && (!ParseInteger(word.substr(star + 1), &copies) || copies < 0)) {
        *why = "bad repeat count: " + std::string(word);
        return false;
    }
    if (copies > kSimMaxBatchBytes - static_cast<int64_t>(bytes->size())) {
        *why = "more than 512 bytes in one batch";
        return false;
    }
    bytes->insert(bytes->end(), static_cast<size_t>(copies), static_cast<uint8_t>(value));
    return true;
}

bool ParseSend(const std::vector<std::string_view>& words, SimBatch* batch, std::string* why) {
    bool countGiven = false;
    for (size_t i = 1; i < words.size(); ++i) {
        std::string_view w = words[i];
        if (w.substr(0, 7) == "status=") {
            if (!ParseInt32(w.substr(7), &batch->status)) {
                *why = "bad status: " + std::string(w);
                return false;
            }
        } else if (w.substr(0, 6) == "count=") {
            if (!ParseInt32(w.substr(6), &batch->count)) {
                *why = "bad count: " + std::string(w);
                return false;
            }
            countGiven = true;
        } else if (!AppendBytes(w, &batch->bytes, why)) {
            return false;
        }
    }
    if (!countGiven)
        batch->count = static_cast<int32_t>(batch->bytes.size());
    return true;
}

// A loop that repeats forever must let time pass, or one poll would never end.
bool BodyWaits(const std::vector<SimStep>& steps, size_t begin) {
    for (size_t i = begin; i < steps.size(); ++i)
        if (steps[i].op == SimOp::Wait && steps[i].arg > 0)
            return true;
    return false;
}

bool ParseStep(std::string_view line, SimScript* script, std::vector<size_t>* open, std::string* why) {
    std::vector<std::string_view> words = Words(line);
    if (words.empty())
        return true;
    std::string_view verb = words[0];
    int64_t number = 0;
    if (verb == "send") {
        SimBatch batch;
        if (!ParseSend(words, &batch, why))
            return false;
        script->batches.push_back(std::move(batch));
        script->steps.push_back({SimOp::Send, static_cast<int64_t>(script->batches.size() - 1)});
        return true;
    }
    if (verb == "end") {
        if (words.size() != 1 || open->empty()) {
            *why = words.size() != 1 ? "end takes no argument" : "end without loop";
            return false;
        }
        size_t begin = open->back();
        open->pop_back();
        if (script->steps[begin].arg == 0 && !BodyWaits(script->steps, begin + 1)) {
            *why = "loop 0 repeats forever and needs a wait";
            return false;
        }
        script->steps.push_back({SimOp::LoopEnd, static_cast<int64_t>(begin)});
        return true;
    }
    if (words.size() != 2 || !ParseInteger(words[1], &number)) {
        *why = "expected one number after " + std::string(verb);
        return false;
    }
    if (verb == "idle" && number >= INT32_MIN && number <= INT32_MAX) {
        script->steps.push_back({SimOp::Idle, number});
    } else if (verb == "hostmsg" && number >= 0 && number <= UINT32_MAX) {
        script->steps.push_back({SimOp::HostMessage, number});
    } else if (verb == "portdelay" && number >= 0 && number <= kSimMaxPortDelayMs) {
        script->steps.push_back({SimOp::PortDelay, number});
    } else if (verb == "wait" && number >= 0) {
        script->steps.push_back({SimOp::Wait, number});
    } else if (verb == "loop" && number >= 0) {
        if (open->size() == static_cast<size_t>(kSimMaxLoopDepth)) {
            *why = "loops nested too deep";
            return false;
        }
        open->push_back(script->steps.size());
        script->steps.push_back({SimOp::LoopBegin, number});
    } else {
        *why = "unknown step or value out of range: " + std::string(line);
        return false;
    }
    return true;
}

} // namespace

bool ParseSimScript(std::string_view text, SimScript* script, std::string* error) {
    *script = SimScript{};
    std::vector<size_t> open;
    int lineNumber = 1;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find_first_of(";\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        line = Trim(line.substr(0, line.find('#')));
        std::string why;
        if (!ParseStep(line, script, &open, &why)) {
            *error = "line " + std::to_string(lineNumber) + ": " + why;
            return false;
        }
        if (end < text.size() && text[end] == '\n')
            ++lineNumber;
        pos = end + 1;
    }
    if (!open.empty()) {
        *error = "loop without end";
        return false;
    }
    return true;
}

SimTimeline::SimTimeline(const SimScript* script) : script_(script) {}

bool SimTimeline::Finished() const {
    return pc_ >= script_->steps.size() && size_ == 0 && messageCount_ == 0;
}

bool SimTimeline::TakeHostMessage(uint32_t* message) {
    if (messageCount_ == 0)
        return false;
    *message = messages_[0];
    --messageCount_;
    for (int i = 0; i < messageCount_; ++i)
        messages_[i] = messages_[i + 1];
    return true;
}

void SimTimeline::RunDueSteps(int64_t elapsedUs) {
    const std::vector<SimStep>& steps = script_->steps;
    for (int budget = kStepsPerPoll; budget > 0 && pc_ < steps.size() && dueUs_ <= elapsedUs; --budget) {
        const SimStep& step = steps[pc_];
        switch (step.op) {
        case SimOp::Idle:
            idleStatus_ = static_cast<int32_t>(step.arg);
            break;
        case SimOp::Send:
            if (size_ == kQueueCapacity) {
                ++dropped_;
            } else {
                queue_[(head_ + size_) % kQueueCapacity] = static_cast<int>(step.arg);
                ++size_;
            }
            break;
        case SimOp::Wait:
            dueUs_ += step.arg * 1000;
            break;
        case SimOp::PortDelay:
            portDelayMs_ = static_cast<int32_t>(step.arg);
            break;
        case SimOp::HostMessage:
            if (messageCount_ == kMessageCapacity)
                ++dropped_;
            else
                messages_[messageCount_++] = static_cast<uint32_t>(step.arg);
            break;
        case SimOp::LoopBegin:
            // The parser bounds the nesting, so depth_ stays within loops_.
            loops_[depth_++] = Loop{pc_ + 1, step.arg};
            break;
        case SimOp::LoopEnd: {
            Loop& loop = loops_[depth_ - 1];
            if (loop.remaining == 0 || --loop.remaining > 0) {
                pc_ = loop.begin;
                continue;
            }
            --depth_;
            break;
        }
        }
        ++pc_;
    }
}

SimAnswer SimTimeline::Poll(int64_t nowUs) {
    if (!started_) {
        started_ = true;
        originUs_ = nowUs;
    }
    RunDueSteps(nowUs - originUs_);
    if (size_ == 0)
        return SimAnswer{idleStatus_, 0, -1};
    int index = queue_[head_];
    head_ = (head_ + 1) % kQueueCapacity;
    --size_;
    const SimBatch& batch = script_->batches[static_cast<size_t>(index)];
    return SimAnswer{batch.status, batch.count, index};
}
