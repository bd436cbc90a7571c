// Random inputs for the capture text target, made of the pieces of lircd.conf files, where
// libFuzzer is not available. Usage: lircd_random_driver [iterations] [seed]
#include "tests/fuzz/random_driver_main.h"

namespace {

const char* const kPieces[] = {"begin remote\n",
                               "end remote\n",
                               "begin codes\n",
                               "end codes\n",
                               "begin raw_codes\n",
                               "name ",
                               "bits ",
                               "flags ",
                               "RC5|CONST_LENGTH",
                               "RC6",
                               "SPACE_ENC|REVERSE",
                               "header 9000 4500\n",
                               "one 560 1690\n",
                               "zero 560 560\n",
                               "plead ",
                               "ptrail ",
                               "pre_data_bits ",
                               "pre_data ",
                               "toggle_bit ",
                               "rc6_mask ",
                               "0x10EF",
                               "64",
                               "65",
                               "16",
                               "0xFFFFFFFFFFFFFFFF",
                               "\n",
                               " ",
                               "KEY_POWER "};

} // namespace

int main(int argc, char** argv) {
    return RunRandomInputs(argc, argv, 30000,
                           [](std::mt19937& random) { return RandomPieces(random, kPieces, 80); });
}
