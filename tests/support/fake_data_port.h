#pragma once
// A data port in memory that records every access; getters can be made to fail.
#include <cstdint>
#include <string>
#include <vector>

#include "receiver/data_port.h"

class FakeDataPort : public DataPort {
  public:
    // A failing getter scribbles this over the caller's byte: the callers must not use it.
    static constexpr uint8_t kScribble = 0xEE;

    uint8_t output = 0;
    uint8_t direction = 0;
    bool outputReadFails = false;
    bool directionReadFails = false;
    // "GO", "GD", "SO=xx", "SD=xx" in call order (xx upper-case hexadecimal).
    std::vector<std::string> log;

    int32_t GetOutput(uint8_t* value) override;
    int32_t GetDirection(uint8_t* value) override;
    void SetOutput(uint8_t value) override;
    void SetDirection(uint8_t value) override;

    // Entries of log that are writes, in order.
    std::vector<std::string> Writes() const;
};
