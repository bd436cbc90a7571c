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

// How much of the sample buffer one read filled. A burst that fills all that BufferSize lets in
// was most likely cut there; a larger BufferSize would show more of it unless it is at its 512.
enum class BufferFill : int8_t {
    Room = 0,        // the burst ended before the buffer did
    SettingFull = 1, // BufferSize bytes, below the driver's 512
    DriverFull = 2,  // all 512 bytes that one read can bring
};
BufferFill BufferFillOf(int32_t byteCount, const SettingsValues& settings);

// Rebuilds train from the first byteCount bytes of samples, using the settings Mode, Scaler and
// BufferSize as in use. At most min(byteCount, BufferSize, kSampleBufferSize) bytes are read; a
// count of zero or below gives an empty train.
void ConvertSamples(const uint8_t (&samples)[kSampleBufferSize], int32_t byteCount,
                    const SettingsValues& settings, PulseTrain& train);
