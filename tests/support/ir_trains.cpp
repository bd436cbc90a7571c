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
