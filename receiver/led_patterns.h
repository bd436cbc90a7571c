#pragma once
// The indicator LEDs on the receiver's data port, per BlinkMode; bit n of each byte is line Dn.
#include <cstdint>

#include "receiver/data_port.h"

struct LedPatterns {
    uint8_t directionMask; // lines the scheme drives, made outputs on attach
    uint8_t ready;         // output bits while waiting
    uint8_t receive;       // output bits while a batch is being received
    uint8_t offAtStop;     // lines among D0 and D1 that the scheme drives, switched off at Stop
};

// Patterns of BlinkMode 0 to 3. Any other value gives the patterns of 0: no line is touched.
// Every write changes only the lines of the scheme: the other lines of the port may be the host's
// own relays or lamps, set through manual actions.
LedPatterns LedPatternsFor(int8_t blinkMode);

// Receiver just attached (or sampling started with it attached): make the scheme's lines outputs
// and show the ready pattern. Does nothing when the scheme uses no LEDs.
void ShowLedsAttached(DataPort& port, int8_t blinkMode);

// A batch arrived: show the reception pattern. Returns true when the scheme has one to show
// (BlinkMode 1 and 2), that is when the ready pattern must be restored later.
bool ShowLedsReceiving(DataPort& port, int8_t blinkMode);

// The first poll without data after reception: show the ready pattern again.
void ShowLedsReady(DataPort& port, int8_t blinkMode);

// Sampling stopped: the given lines (those of D0 and D1 that the schemes used since the start
// drove, LedPatterns::offAtStop) off; every other line keeps its state.
void SwitchLedsOff(DataPort& port, uint8_t lines);
