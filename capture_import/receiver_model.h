#pragma once
// What a receiver really delivers for a burst: the sample bytes a receiver of a given model would
// send for these durations, turned back into a train by the plug-in's own conversion.
#include <cstdint>
#include <vector>

#include "receiver/receiver.h"

// Tick length in hundredths of a microsecond that orvik-decode assumes unless told otherwise
// (the plug-in's default, 85.33 us).
constexpr int32_t kDefaultScaler = 8533;

// The longest duration any receiver model can deliver: model 1's largest two-byte value, 1991
// ticks (169.9 ms at 85.33 us a tick).
int32_t LongestReceivable(int32_t scaler);

// Durations in microseconds (each above 0) as the plug-in would see them from a receiver of the
// given model (0, 1 or 2) with that tick length: every duration rounded to whole ticks, at least
// one tick, and at most 255 ticks in models 0 and 2 or 1991 in model 1 (two bytes from 249
// ticks); model 2 sends three bytes without durations first. At most the 512 bytes of one driver
// read are made, and the plug-in takes at most bufferSize of them (its BufferSize setting, which
// cuts a long burst as it does on reception). The conversion then applies the model's rules: in models 0 and
// 2 an even byte count gets a leading 235-tick duration and short durations become 3 ticks. A model 1
// receiver is assumed to end an even count of bytes with a 0, which carries no duration, so that the last
// duration is kept.
std::vector<int32_t> AsModelDelivers(const std::vector<int32_t>& durations, int model, int32_t scaler,
                                     int32_t bufferSize = kSampleBufferSize);
