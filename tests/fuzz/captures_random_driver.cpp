// Feeds the capture readers' fuzz target with seeded random inputs where libFuzzer is not available:
// texts built from the pieces capture files are made of, with now and then a random
// byte. Usage: captures_random_driver [iterations] [seed]
#include <random>
#include <string>

#include "tests/fuzz/random_driver_main.h"

namespace {

const char* const kPieces[] = {"name: ", "type: raw", "type: parsed", "data: ", "frequency: 38000",
                               "pulse ", "space ",    "timeout ",     "9000",   "4500",
                               "560",    "1690",      "2250",         "-560",   "+560",
                               "0",      "40000",     "2147483648",   " ",      ",",
                               "\n",     "#",         "Power"};

std::string RandomInput(std::mt19937& random) {
    std::string input;
    const size_t count = random() % 80;
    for (size_t i = 0; i < count; ++i) {
        if (input.empty())
            input += static_cast<char>(random() % 4); // the receiver model
        else if (random() % 10 == 0)
            input += static_cast<char>(random());
        else
            input += kPieces[random() % std::size(kPieces)];
    }
    return input;
}

} // namespace

int main(int argc, char** argv) {
    return RunRandomInputs(argc, argv, 20000, RandomInput);
}
