#pragma once
// Numbers in the texts our test tools read: decimal with an optional '-', or hexadecimal after
// "0x". The whole text must be the number.
#include <cstdint>
#include <string_view>

bool ParseInteger(std::string_view text, int64_t* value);
