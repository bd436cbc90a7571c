// orvik-decode: shows what the plug-in makes of pulse trains before a remote is learned.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tools/orvik_decode/decode_report.h"

namespace {

const char kUsage[] =
    "usage: orvik-decode [--json] [FILE...]\n"
    "\n"
    "Decodes infrared pulse trains as the plug-in does and prints one line per train:\n"
    "  code (16 hex digits) TAB coding (- when none) TAB bit count TAB raw signature (empty when none)\n"
    "With --json each line is a JSON object with the fields code, coding, bits and raw.\n"
    "\n"
    "Input (the files in order, or standard input when none or for \"-\"):\n"
    "  - one train per line: durations in microseconds separated by blanks or commas, starting with a\n"
    "    pulse; a leading + or - sign on a value is ignored;\n"
    "  - or LIRC mode2 output: \"pulse N\" and \"space N\" lines; a train ends at a space longer than\n"
    "    30 ms, a \"timeout\" line or the end of a file.\n"
    "Blank lines and text after # are skipped. Each train is decoded with the previous result as the\n"
    "previous code, as the plug-in chains them, so repeat frames repeat the code before them.\n"
    "Trains longer than 513 durations are cut to their first 513, as the receiver never delivers\n"
    "more. A malformed line is reported on standard error with its line number and prints the\n"
    "all-zero code; decoding goes on.\n"
    "\n"
    "Exit status: 0, 1 when a file cannot be opened, 2 for a wrong option.\n";

} // namespace

int main(int argc, char** argv) {
    DecodeSession session;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--json") {
            session.json = true;
        } else if (argument == "--help" || argument == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (argument.size() > 1 && argument[0] == '-') {
            std::cerr << "orvik-decode: unknown option " << argument << "\n" << kUsage;
            return 2;
        } else {
            inputs.push_back(argument);
        }
    }
    if (inputs.empty())
        inputs.push_back("-");

    int status = 0;
    for (const std::string& input : inputs) {
        if (input == "-") {
            DecodeStream(std::cin, "stdin", session, std::cout, std::cerr);
            continue;
        }
        std::ifstream file(input);
        if (!file) {
            std::cerr << "orvik-decode: cannot open " << input << ": " << std::strerror(errno) << "\n";
            status = 1;
            continue;
        }
        DecodeStream(file, input, session, std::cout, std::cerr);
    }
    return status;
}
