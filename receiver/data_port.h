#pragma once
// The receiver's 8-bit general-purpose data port, as the LED logic and the manual actions see it.
// The Win32 shell implements it over the driver's four port functions; tests use a fake.
#include <cstdint>
#include "receiver/lock.h"

class DataPort {
  public:
    virtual ~DataPort() = default;
    // Getters return the driver status: 0 = success and the byte is valid.
    virtual int32_t GetOutput(uint8_t* value) = 0;
    virtual int32_t GetDirection(uint8_t* value) = 0;
    // Setter results are not used.
    virtual void SetOutput(uint8_t value) = 0;
    virtual void SetDirection(uint8_t value) = 0;
};

// Held around every read-modify-write of the port's bytes: the LED updates on the sampling thread
// and a single-line Set of a manual action on the host's thread. Each reads a byte and writes it
// back changed; interleaved, one would write back the byte it read before the other's write and
// so undo it (a relay command lost, or an LED left in the wrong state). Whole-byte writes and
// reads need no lock. The driver calls and their order stay as they are.
extern Lock DataPortLock;
