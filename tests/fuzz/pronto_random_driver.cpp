// Random inputs for the capture text target, made of the pieces of Pronto hex files, where
// libFuzzer is not available. Usage: pronto_random_driver [iterations] [seed]
#include "tests/fuzz/random_driver_main.h"

namespace {

const char* const kPieces[] = {"KEY: ", "0000 ", "0100 ", "5000 ", "6000 ", "900A ", "006D ",
                               "0073 ", "0001 ", "0002 ", "0022 ", "FFFF ", "0015 ", "0040 ",
                               "04FB ", "\n",    ": ",    "Vol ",  "ZZZZ "};

} // namespace

int main(int argc, char** argv) {
    return RunRandomInputs(argc, argv, 30000,
                           [](std::mt19937& random) { return RandomPieces(random, kPieces, 60); });
}
