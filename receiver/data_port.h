#pragma once
// The receiver's 8-bit general-purpose data port, as the LED logic and the manual actions see it.
// The Win32 shell implements it over the driver's four port functions; tests use a fake.
#include <cstdint>

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
