#pragma once
#include <cstdint>

// True when at least wait milliseconds lie between since and now on the 32-bit millisecond tick
// count. The difference is taken modulo 2^32, so the wrap of the count after 49.7 days neither holds
// a button down nor stops its repeats.
inline bool AtLeastElapsed(uint32_t now, uint32_t since, uint32_t wait) {
    return (now - since) >= wait;
}
