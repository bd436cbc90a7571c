#pragma once
// Turns the sample bytes of one driver read into a pulse train, per receiver model.
#include <cstdint>

#include "config/settings.h"
#include "receiver/receiver.h"

// Receiver models as the Mode setting numbers them; any other value is read like ModelOriginal.
enum ReceiverModel : int8_t {
    ModelOriginal = 0,   // one byte per duration
    ModelTwoByte = 1,    // one byte, or two for durations of 248 ticks and more
    ModelThreeHeader = 2 // like ModelOriginal after three leading bytes that carry no duration
};

// Duration in microseconds of ticks receiver ticks of scaler hundredths of a microsecond each.
// Computed in 64 bits and saturated to the int32_t range, so no Scaler value can overflow it.
int32_t TicksToMicroseconds(int32_t ticks, int32_t scaler);

// Scaler and BufferSize as they are used, which is as the dialog shows them: a hand-edited
// BufferSize below the dialog's 11 counts as 11, a Scaler of 0 or below as the time unit of the
// receiver model (21.33 us for model 1, 85.33 us for the others). Either would otherwise deafen the
// receiver without a word. The file keeps what it holds.
int32_t ScalerInUse(const SettingsValues& settings);
int32_t BufferSizeInUse(const SettingsValues& settings);

// Rebuilds train from the first byteCount bytes of samples, using the settings Mode, Scaler and
// BufferSize as in use. At most min(byteCount, BufferSize, kSampleBufferSize) bytes are read; a
// count of zero or below gives an empty train.
void ConvertSamples(const uint8_t (&samples)[kSampleBufferSize], int32_t byteCount,
                    const SettingsValues& settings, PulseTrain& train);
