#include "receiver/led_patterns.h"

#include <iterator>
#include <mutex>

namespace {

constexpr LedPatterns kPatterns[] = {
    {0, 0, 0, 0}, // no blinking
    {3, 1, 3, 3}, // D0 ready, D1 receiving
    {1, 1, 0, 1}, // D0 on while ready, off while receiving
    {7, 1, 0, 3}, // D0 ready; D1 and D2 are reserved for recognised / unrecognised keys
};

// A failing getter leaves the preset 0, which is then written back as the new state.
uint8_t ReadOutput(DataPort& port) {
    uint8_t value = 0;
    if (port.GetOutput(&value) != 0)
        value = 0;
    return value;
}

// Read-modify-write of the lines in mask; a scheme without lines writes nothing at all. The
// caller holds DataPortLock.
void ShowPattern(DataPort& port, uint8_t mask, uint8_t pattern) {
    if (mask != 0)
        port.SetOutput(static_cast<uint8_t>((ReadOutput(port) & ~mask) | pattern));
}

} // namespace

LedPatterns LedPatternsFor(int8_t blinkMode) {
    if (blinkMode < 0 || blinkMode >= static_cast<int>(std::size(kPatterns)))
        return kPatterns[0];
    return kPatterns[blinkMode];
}

void ShowLedsAttached(DataPort& port, int8_t blinkMode) {
    const LedPatterns leds = LedPatternsFor(blinkMode);
    if (leds.directionMask == 0)
        return;
    const std::lock_guard hold(DataPortLock);
    uint8_t direction = 0;
    if (port.GetDirection(&direction) != 0)
        direction = 0;
    port.SetDirection(static_cast<uint8_t>(direction | leds.directionMask));
    ShowPattern(port, leds.directionMask, leds.ready);
}

bool ShowLedsReceiving(DataPort& port, int8_t blinkMode) {
    if (blinkMode != 1 && blinkMode != 2)
        return false;
    const LedPatterns leds = LedPatternsFor(blinkMode);
    const std::lock_guard hold(DataPortLock);
    ShowPattern(port, leds.directionMask, leds.receive);
    return true;
}

void ShowLedsReady(DataPort& port, int8_t blinkMode) {
    const LedPatterns leds = LedPatternsFor(blinkMode);
    const std::lock_guard hold(DataPortLock);
    ShowPattern(port, leds.directionMask, leds.ready);
}

void SwitchLedsOff(DataPort& port, uint8_t lines) {
    const std::lock_guard hold(DataPortLock);
    ShowPattern(port, lines, 0);
}
