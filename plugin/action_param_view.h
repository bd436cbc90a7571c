#pragma once
// The parameters of a manual action as the portable code reads them. The Win32 shell builds this
// from the host's ActionParams, turning each text slot's 32-bit value into a pointer; a null
// pointer stands for a text the host did not supply.
#include <cstdint>

constexpr int kActionParamSlots = 4;

struct ActionParamSlot {
    bool isNumber = false;
    uint32_t number = 0;        // when isNumber
    const char* text = nullptr; // when not isNumber; may be null
};

struct ActionParamView {
    int32_t count = 0; // as the host gave it; only the first kActionParamSlots slots exist
    ActionParamSlot slots[kActionParamSlots];
};
