#include "setup_dialog/receiver_page_logic.h"

#include <algorithm>

ModelDefaults DefaultsForModel(int32_t mode) {
    switch (mode) {
    case 1:
        return {2, kScalerUnit2, 108};
    case 2:
        return {1, kScalerUnit1, 35};
    default:
        return {1, kScalerUnit1, 36};
    }
}

std::optional<ModelDefaults> ModelChange(int32_t currentMode, int32_t clicked) {
    if (clicked == currentMode)
        return std::nullopt;
    return DefaultsForModel(clicked);
}

int ScalerButtonFor(int32_t scaler) {
    if (scaler == kScalerUnit1)
        return 1;
    if (scaler == kScalerUnit2)
        return 2;
    return 0;
}

int32_t ScalerForButton(int tag) {
    return tag == 2 ? kScalerUnit2 : kScalerUnit1;
}

void RawBoxClick(bool checked, SettingsStore& settings, KeyCode* lastCode) {
    settings.RawMode.store(checked);
    if (lastCode)
        *lastCode = 0;
}

int32_t ShownPosition(int32_t value, const SpinRange& range) {
    return std::clamp(value, range.min, range.max);
}

std::optional<int32_t> StepPosition(int32_t position, int direction, const SpinRange& range) {
    if (direction == 0)
        return std::nullopt;
    const int64_t next = int64_t{position} + (direction > 0 ? range.step : -range.step);
    if (next < range.min || next > range.max)
        return std::nullopt;
    return static_cast<int32_t>(next);
}

std::optional<int32_t> ParseWholeNumber(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > int64_t{INT32_MAX} + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<int32_t> TypedBufferSize(std::string_view text) {
    const std::optional<int32_t> typed = ParseWholeNumber(text);
    if (!typed)
        return std::nullopt;
    // 0 would switch reception off without a word, and more than 512 bytes never arrive.
    return std::clamp(*typed, kBufferSizeRange.min, kBufferSizeRange.max);
}

int32_t BufferStepBase(std::string_view text, int32_t position) {
    return TypedBufferSize(text).value_or(position);
}

int32_t PollIntervalForFrequency(int32_t hertz) {
    return hertz > 0 ? 1000 / hertz : 1000 / kPollFreqRange.min;
}

int32_t FrequencyForPollInterval(int32_t intervalMs) {
    // A stored interval of 0 would divide by zero; it shows as the lowest frequency.
    return intervalMs > 0 ? 1000 / intervalMs : kPollFreqRange.min;
}
