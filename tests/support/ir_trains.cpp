#include "support/ir_trains.h"

Durations PulseDistanceTrain(const Durations& header, const std::string& bits, int32_t pulse,
                             int32_t zeroPause, int32_t onePause) {
    Durations train = header;
    for (char bit : bits) {
        train.push_back(pulse);
        train.push_back(bit == '1' ? onePause : zeroPause);
    }
    train.push_back(pulse);
    return train;
}

Durations PulseLengthTrain(int32_t leadingPulse, const std::string& bits, int32_t pause, int32_t zeroPulse,
                           int32_t onePulse) {
    Durations train{leadingPulse};
    for (char bit : bits) {
        train.push_back(pause);
        train.push_back(bit == '1' ? onePulse : zeroPulse);
    }
    return train;
}

Durations BiPhaseTrain(const std::string& bits, int32_t t) {
    std::vector<int> levels;
    for (char bit : bits) {
        levels.push_back(bit == '1' ? 0 : 1);
        levels.push_back(bit == '1' ? 1 : 0);
    }
    Durations train;
    int previous = levels.front(); // the low half before the first pulse
    for (size_t k = 1; k < levels.size(); ++k) {
        if (levels[k] == previous && !train.empty())
            train.back() += t;
        else
            train.push_back(t);
        previous = levels[k];
    }
    if (levels.back() == 0)
        train.pop_back();
    return train;
}

Durations Rc6Train(int mode, bool toggle, const std::string& payload, int32_t t) {
    std::vector<int> levels{1, 1, 1, 1, 1, 1, 0, 0};
    const auto bit = [&](bool one, int units) {
        levels.insert(levels.end(), static_cast<size_t>(units), one ? 1 : 0);
        levels.insert(levels.end(), static_cast<size_t>(units), one ? 0 : 1);
    };
    bit(true, 1);
    for (int k = 2; k >= 0; --k)
        bit(((mode >> k) & 1) != 0, 1);
    bit(toggle, 2);
    for (char c : payload)
        bit(c == '1', 1);
    Durations train;
    for (size_t k = 0; k < levels.size(); ++k) {
        if (k > 0 && levels[k] == levels[k - 1])
            train.back() += t;
        else
            train.push_back(t);
    }
    if (levels.back() == 0)
        train.pop_back();
    return train;
}

Durations Stretched(const Durations& durations, int64_t numerator, int64_t denominator) {
    Durations result;
    for (int32_t d : durations)
        result.push_back(static_cast<int32_t>((d * numerator + denominator / 2) / denominator));
    return result;
}

Durations Joined(const Durations& first, const Durations& second) {
    Durations result = first;
    result.insert(result.end(), second.begin(), second.end());
    return result;
}

std::string BitsOf(uint64_t value, int count) {
    std::string bits;
    for (int k = count - 1; k >= 0; --k)
        bits.push_back(((value >> k) & 1) != 0 ? '1' : '0');
    return bits;
}
