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

// Held around every access to the port's bytes: the LED updates on the sampling thread and the
// manual actions on the host's thread. An LED update reads the output byte and writes it back
// changed; any write that lands between its read and its write, a whole byte as much as one line,
// would be overwritten with the byte it read (a relay command undone, or an LED left in the wrong
// state). A manual action holds it across its write and the reads of its reply, so the reply shows
// what the action left. The driver calls and their order stay as they are.
extern Lock DataPortLock;
