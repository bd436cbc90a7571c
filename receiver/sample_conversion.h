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

// Rebuilds train from the first byteCount bytes of samples, using the settings Mode, Scaler and
// BufferSize. At most min(byteCount, BufferSize, kSampleBufferSize) bytes are read; a count or a
// BufferSize of zero or below gives an empty train.
void ConvertSamples(const uint8_t (&samples)[kSampleBufferSize], int32_t byteCount,
                    const SettingsValues& settings, PulseTrain& train);
