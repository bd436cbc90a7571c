// Random inputs for the capture text target, made of the pieces of Flipper .ir files, where
// libFuzzer is not available. Usage: flipper_ir_random_driver [iterations] [seed]
#include "tests/fuzz/random_driver_main.h"

namespace {

const char* const kPieces[] = {
    "name: ", "type: raw", "type: parsed",  "protocol: ",       "NEC",       "NECext",      "RC5",
    "RC6",    "SIRC20",    "Kaseikyo",      "address: ",        "command: ", "04 00 00 00", "FF FF FF 03",
    "0C",     "data: ",    "9000 4500 560", "frequency: 38000", "\n",        " ",           "#",
    "Power"};

} // namespace

int main(int argc, char** argv) {
    return RunRandomInputs(argc, argv, 30000,
                           [](std::mt19937& random) { return RandomPieces(random, kPieces, 60); });
}
