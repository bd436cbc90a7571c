#pragma once
// The loop every random driver runs: so many inputs (argument 1) from a seeded generator
// (argument 2) into the fuzz target, on builds without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

template <typename MakeInput>
int RunRandomInputs(int argc, char** argv, long defaultIterations, MakeInput makeInput) {
    const long iterations = argc > 1 ? std::atol(argv[1]) : defaultIterations;
    std::mt19937 random(argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1u);
    for (long n = 0; n < iterations; ++n) {
        const auto input = makeInput(random);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    std::printf("%ld random inputs passed\n", iterations);
    return 0;
}
