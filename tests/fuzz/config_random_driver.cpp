// Feeds the configuration fuzz target with seeded random inputs where libFuzzer is not available:
// texts built from the pieces remote and settings files are made of, with now and then a random
// byte. Usage: config_random_driver [iterations] [seed]
#include <random>
#include <string>

#include "tests/fuzz/random_driver_main.h"

namespace {

const char* const kPieces[] = {
    "[Main]",      "[Code]",     "[Raw]",    "[Receiver]", "[",    "]",    "=",
    "\r\n",        "\n",         "\r",       " ",          ";",    "#",    "\x01",
    "Name",        "Key1",       "Raw1",     "Key2",       "Raw2", "Key3", "0000000000000001",
    "abcde",       "BufferSize", "PollFreq", "BlinkMode",  "-1",   "1000", "Power",
    "11000100021b"};

std::string RandomInput(std::mt19937& random) {
    std::string input;
    const size_t count = random() % 80;
    for (size_t i = 0; i < count; ++i) {
        if (random() % 10 == 0)
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
