#pragma once
// Receiver side: the pulse train every decoder reads, and the hand-off state that the sampling
// thread shares with the dispatch thread.
#include <atomic>
#include <cstdint>

#include "decoding/key_code.h"

// One duration per sample byte plus one leading extra duration.
constexpr int kPulseTrainCapacity = 513;
// The driver never writes more than this many sample bytes.
constexpr int kSampleBufferSize = 512;

// Durations in microseconds; even positions are pulses, odd positions pauses.
struct PulseTrain {
    int32_t durations[kPulseTrainCapacity];
    int32_t count;
};

// Raw signatures: at most 1023 bytes in a 1024-byte buffer.
constexpr int kRawSignatureCapacity = 1024;
constexpr int kRawSignatureMaxLength = 1023;

// Hand-off from the sampling thread to the dispatch thread. The writer stores SignalCode and
// SignalDown before SignalFresh (release); the reader loads SignalFresh first (acquire) and then
// the rest, so a woken dispatcher always sees the code that belongs to the flag. SignalCode is a
// std::atomic<uint64_t> so that a 32-bit target never reads it half-written.
extern std::atomic<KeyCode> SignalCode;
extern std::atomic<uint8_t> SignalDown;
extern std::atomic<uint8_t> SignalFresh;
extern std::atomic<uint8_t> RawArmed;
// Owned by the sampling thread while RawArmed is set, by the dispatcher while it is clear.
extern uint8_t RawSignature[kRawSignatureCapacity];
extern std::atomic<int32_t> RawSignatureLength;
