#pragma once
// The loop every random driver runs: so many inputs (argument 1) from a seeded generator
// (argument 2) into the fuzz target, on builds without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

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

// A text built from the pieces a format is made of, with now and then a random byte; its first
// byte is free for the target's own choices.
template <size_t N>
std::string RandomPieces(std::mt19937& random, const char* const (&pieces)[N], size_t most) {
    std::string input(1, static_cast<char>(random()));
    const size_t count = random() % most;
    for (size_t i = 0; i < count; ++i) {
        if (random() % 10 == 0)
            input += static_cast<char>(random());
        else
            input += pieces[random() % N];
    }
    return input;
}
