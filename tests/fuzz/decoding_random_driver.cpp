// Feeds the decoding fuzz target with seeded random inputs where libFuzzer is not available.
// Inputs are shaped like real trains (a few lengths with jitter, headers, gaps) with now and then
// a zero, negative or huge duration. Usage: decoding_random_driver [iterations] [seed]
#include <random>
#include <vector>

#include "tests/fuzz/random_driver_main.h"

namespace {

constexpr uint64_t kPreviousCodes[] = {0, 0x0220000020DF10EFull, 0x030C000000000908ull,
                                       0x010E00000000314Cull};

void Append(std::vector<uint8_t>& input, uint32_t value, int width) {
    for (int k = 0; k < width; ++k)
        input.push_back(static_cast<uint8_t>(value >> (8 * k)));
}

std::vector<uint8_t> RandomInput(std::mt19937& random) {
    std::vector<uint8_t> input;
    const uint8_t form = static_cast<uint8_t>(random() % 3);
    input.push_back(form);
    const uint64_t previous = random() % 5 == 0 ? (uint64_t{random()} << 32 | random())
                                                : kPreviousCodes[random() % std::size(kPreviousCodes)];
    Append(input, static_cast<uint32_t>(previous), 4);
    Append(input, static_cast<uint32_t>(previous >> 32), 4);

    const int width = form == 0 ? 1 : form == 1 ? 2 : 4;
    const uint32_t unit = form == 0 ? 50 : 1;
    uint32_t lengths[3];
    for (uint32_t& length : lengths)
        length = 300 + random() % 2700;
    const size_t count = random() % 700;
    for (size_t i = 0; i < count; ++i) {
        uint32_t value = lengths[random() % (1 + random() % 3)];
        value = value * (90 + random() % 21) / 100; // jitter of +-10 %
        const uint32_t odd = random() % 100;
        if (i < 2 && odd < 50)
            value = i == 0 ? 9000 : 4500;
        else if (odd == 0)
            value = 0;
        else if (odd == 1)
            value = 40000;
        else if (odd == 2 && form == 2)
            value = static_cast<uint32_t>(random()); // any 32-bit value, negative ones too
        Append(input, value / unit, width);
    }
    return input;
}

} // namespace

int main(int argc, char** argv) {
    return RunRandomInputs(argc, argv, 100000, RandomInput);
}
