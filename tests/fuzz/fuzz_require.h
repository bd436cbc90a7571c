#pragma once
// A broken property ends the run at once, so the fuzzer keeps the input that broke it.
#include <cstdlib>

inline void Require(bool condition) {
    if (!condition)
        std::abort();
}
