#include "receiver/receiver.h"

std::atomic<KeyCode> SignalCode{0};
std::atomic<uint8_t> SignalDown{0};
std::atomic<uint8_t> SignalFresh{0};
std::atomic<uint8_t> RawArmed{0};
uint8_t RawSignature[kRawSignatureCapacity];
std::atomic<int32_t> RawSignatureLength{0};
