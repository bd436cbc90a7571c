#pragma once
// What the receiver page's controls do to the settings: model defaults, time units, the buffer
// box, frequency steps and the arrow controls' ranges. The page's window code reads a control,
// calls one of these and writes back what they return.
#include <cstdint>
#include <optional>
#include <string_view>

#include "config/settings.h"
#include "decoding/key_code.h"

// An arrow control's range and step.
struct SpinRange {
    int32_t min;
    int32_t max;
    int32_t step;
};

inline constexpr SpinRange kBufferSizeRange{kSmallestBufferSize, 512, 1};
inline constexpr SpinRange kPollFreqRange{5, 100, 5};
inline constexpr SpinRange kWaitRange{kShortestWaitMs, 1000, 50};

// Receiver models: the time unit, its scaler and the buffer size that picking the model sets.

struct ModelDefaults {
    int scalerButton; // 1 or 2
    int32_t scaler;
    int32_t bufferSize;
};
// Any index other than 1 and 2 takes the defaults of model 0.
ModelDefaults DefaultsForModel(int32_t mode);
// A click (or Space) on a model item: the defaults to apply, or nothing when the item is the model
// already in use, so that a click on it keeps a buffer size and time unit chosen since.
std::optional<ModelDefaults> ModelChange(int32_t currentMode, int32_t clicked);

// Which time-unit button a stored Scaler selects: 1, 2, or 0 for neither.
int ScalerButtonFor(int32_t scaler);
// The Scaler a time-unit button stands for (tag 2: 2133, any other: 8533).
int32_t ScalerForButton(int tag);

// A click on the RAW box: RawMode follows the box, and the next code is shown even when it is the
// last one again (*lastCode cleared). RawArmed is left alone: while it is clear the dispatcher is
// reading RawSignature, and every hand-off it takes and every Start arm it again.
void RawBoxClick(bool checked, SettingsStore& settings, KeyCode* lastCode);

// A position as its control shows it: limited to the range.
int32_t ShownPosition(int32_t value, const SpinRange& range);

// One arrow step from position by direction (+1 up, -1 down): the new position, or nothing when
// it would leave the range (the control still notifies at its ends).
std::optional<int32_t> StepPosition(int32_t position, int direction, const SpinRange& range);

// A whole decimal number: an optional sign and digits, no blanks, within 32 bits.
std::optional<int32_t> ParseWholeNumber(std::string_view text);

// Leaving the buffer box: the number typed, limited to 11..512, or nothing when the text is not
// a whole number (the box then shows the control's position again).
std::optional<int32_t> TypedBufferSize(std::string_view text);

// Where an arrow step of the buffer box starts: from the number typed in the box when there is
// one (limited as leaving the box would limit it), else from the control's position.
int32_t BufferStepBase(std::string_view text, int32_t position);

// Frequency steps and the interval they give, both ways. An interval of 0 or below shows 5 Hz.
int32_t PollIntervalForFrequency(int32_t hertz);
int32_t FrequencyForPollInterval(int32_t intervalMs);
