// Feeds the receiving fuzz target with seeded random inputs where libFuzzer is not available.
// Usage: receiving_random_driver [iterations] [seed]
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    const long iterations = argc > 1 ? std::atol(argv[1]) : 100000;
    std::mt19937 random(argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1u);
    std::vector<uint8_t> input;
    for (long i = 0; i < iterations; ++i) {
        input.resize(random() % 600);
        for (uint8_t& b : input)
            b = static_cast<uint8_t>(random() % 4 == 0 ? "GetSetDataPortDirection232\0"[random() % 27]
                                                       : random());
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    return 0;
}
