// orvik-decode: shows what the plug-in makes of pulse trains before a remote is learned, which
// key of a remote definition file it would report, and writes such a file from captures.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "capture_import/import_rows.h"
#include "config/file_system.h"
#include "tools/orvik_decode/decode_report.h"
#include "tools/orvik_decode/remote_file_writer.h"
#include "tools/orvik_decode/remote_lookup.h"
#include "tools/orvik_decode/remotes_to_write.h"

namespace {

const char kUsage[] =
    "usage: orvik-decode [--json] [--model 0|1|2] [--scaler N] [--cfg FILE.cfg]... [--write-cfg NAME "
    "[--raw]\n"
    "                    [--code-page 1251|1252]] [FILE...]\n"
    "\n"
    "Decodes the buttons of infrared capture files as the plug-in does and prints one line per button,\n"
    "in file order:\n"
    "  code (16 hex digits) TAB coding (- when none) TAB bit count TAB raw signature (empty when none)\n"
    "  and, when the input names the button, TAB its name.\n"
    "With --json each line is a JSON object with the fields code, coding, bits, raw and name, and\n"
    "skipped (the reason) for a button that gives no train or neither a code nor a raw signature.\n"
    "\n"
    "Input (the files in order, or standard input when none or for \"-\"; UTF-8, or UTF-16 with its\n"
    "byte order mark); the format is recognised from the content, line by line:\n"
    "  - Flipper .ir files: each \"name:\" is a button; a raw signal gives its \"data:\" durations, a\n"
    "    parsed signal (NEC, NECext, NEC42, NEC42ext, Samsung32, RC5, RC5X, RC6, SIRC, SIRC15,\n"
    "    SIRC20, Kaseikyo, RCA, Pioneer) the first frame of its protocol for its address and command\n"
    "    (RC5 with a command above 63 as RC5X with the command's low 6 bits; RC5X takes 0 to 63);\n"
    "    a line of no format in a Flipper file is no button and is passed over;\n"
    "  - LIRC lircd.conf files: every code of every \"begin remote\" block (SPACE_ENC, RC5 and RC6\n"
    "    remotes, raw_codes) as the first frame LIRC sends for it; other remote types are named and\n"
    "    left out;\n"
    "  - Pronto hex: one code a line (0000, 0100, 5000 RC5, 6000 RC6, 900A NEC), after the button's\n"
    "    name and \": \" or alone (then named by its line);\n"
    "  - LIRC mode2 output: \"pulse N\" and \"space N\" lines; a train ends at a space longer than\n"
    "    30 ms, a \"timeout\" line or the end of a file;\n"
    "  - one train per line: durations in microseconds separated by blanks or commas, starting with a\n"
    "    pulse; a sign may stand where it fits the position (+ a pulse, - a pause).\n"
    "Blank lines and text after # are skipped. A file whose first line is of no format (XML, HTML, a\n"
    "lircrc), or that holds binary bytes, is \"not a capture file this tool reads\": reported on\n"
    "standard error with the line where reading stopped.\n"
    "Each train is decoded with the previous result as the previous code, as the plug-in chains them,\n"
    "so repeat frames repeat the code before them. Trains longer than 513 durations are cut to their\n"
    "first 513, as the receiver never delivers more. A duration of 0 or one longer than any receiver\n"
    "delivers ends the train where it stands after the frame (in a pause from the frame gap on, or in\n"
    "the last pause), as a receiver's timeout would. A button that gives no train (a malformed line,\n"
    "an unknown protocol, a number out of range), or whose frame holds such a duration or a negative\n"
    "one, is reported on standard error with its line number and prints the all-zero code; decoding\n"
    "goes on.\n"
    "\n"
    "  --model M     first turn each train into what a receiver of model M (the Mode setting: 0, 1,\n"
    "                2) delivers: whole ticks, its byte limits, model 1's two-byte values; the codes\n"
    "                are then the ones the plug-in gives with that receiver.\n"
    "  --scaler N    tick length in hundredths of a microsecond for --model (default 8533).\n"
    "  --cfg FILE    instead of the lines above, print for each button: its name (or line), its\n"
    "                code, and the key (remote) the plug-in reports for it in decoding mode and in\n"
    "                raw mode, read from the given remote definition files (- when none).\n"
    "  --write-cfg NAME  also write the remote definition file of remote NAME into the current\n"
    "                folder: the buttons' names and codes, and raw patterns for buttons that do not\n"
    "                decode. Buttons that give the code of an earlier one, and captures of a repeat\n"
    "                frame only, are reported and left out. When the input holds several lircd.conf\n"
    "                remotes, each is written to a file of its own under its own name, and NAME\n"
    "                holds the buttons outside them.\n"
    "  --raw         with --write-cfg: raw patterns for every button, for the plug-in's raw mode.\n"
    "                A button of RC5, RC5X, RC6 or a LIRC remote with a toggle bit gets the pattern\n"
    "                of each toggle state, so that every press matches.\n"
    "  --code-page N with --write-cfg: the Windows code page the names are written in, 1251\n"
    "                (Cyrillic, the default) or 1252 (Western), as the plug-in shows and reports\n"
    "                them; the input's names are UTF-8. A character the code page has not is\n"
    "                written as {U+XXXX} (its Unicode number), and the name is reported.\n"
    "\n"
    "Exit status: 0; 1 when a file cannot be opened, is not a capture file or cannot be written; 2 for\n"
    "a wrong option; 3 when something was skipped (reported on standard error) but the rest was done.\n";

struct Options {
    DecodeSession session;
    bool json = false;
    bool rawMode = false;
    int codePage = 1251;
    std::vector<std::string> inputs;
    std::vector<std::string> cfgFiles;
    std::string writeRemote;
};

bool ParseNumber(const std::string& text, long low, long high, long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && errno == 0 && value >= low && value <= high;
}

// 0 when the options are good, else the exit status.
int ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        long number = 0;
        if (argument == "--json") {
            options.json = true;
        } else if (argument == "--help" || argument == "-h") {
            std::cout << kUsage;
            return -1;
        } else if (argument == "--model" && hasValue && ParseNumber(argv[i + 1], 0, 2, number)) {
            options.session.model = static_cast<int>(number);
            ++i;
        } else if (argument == "--scaler" && hasValue && ParseNumber(argv[i + 1], 1, 1000000, number)) {
            options.session.scaler = static_cast<int32_t>(number);
            ++i;
        } else if (argument == "--cfg" && hasValue) {
            options.cfgFiles.push_back(argv[++i]);
        } else if (argument == "--raw") {
            options.rawMode = true;
        } else if (argument == "--code-page" && hasValue && ParseNumber(argv[i + 1], 1251, 1252, number)) {
            options.codePage = static_cast<int>(number);
            ++i;
        } else if (argument == "--write-cfg" && hasValue) {
            options.writeRemote = argv[++i];
        } else if (argument.size() > 1 && argument[0] == '-') {
            std::cerr << "orvik-decode: wrong option or value: " << argument << "\n" << kUsage;
            return 2;
        } else {
            options.inputs.push_back(argument);
        }
    }
    if (options.inputs.empty())
        options.inputs.push_back("-");
    return 0;
}

std::string OrDash(const std::string& text) {
    return text.empty() ? "-" : text;
}

// Writes the remotes --write-cfg makes of the buttons; false when none could be written.
bool WriteRemotes(const Options& options, const std::vector<TrainOfRemote>& trains, bool& skipped) {
    std::vector<RenamedText> renamed;
    const std::vector<RemoteToWrite> remotes = RemotesToWrite(
        trains, options.writeRemote, options.rawMode, NameCodePage{options.codePage, nullptr}, renamed);
    for (const RenamedText& name : renamed)
        std::cerr << "orvik-decode: \"" << name.original << "\" has characters code page " << options.codePage
                  << " cannot hold: written as \"" << name.stored << "\"\n";
    if (remotes.size() > 1)
        std::cerr << "orvik-decode: the input holds " << remotes.size()
                  << " remotes: each is written to a file of its own\n";
    bool wrote = false;
    for (const RemoteToWrite& remote : remotes) {
        for (const ButtonOutcome& outcome : remote.rows.outcomes) {
            // Buttons without a train were reported as they were read.
            const bool reported = outcome.fate == ButtonOutcome::Fate::Unreadable &&
                                  outcome.detailReason.id != SkipReasonId::RepeatFrameOnly;
            if (outcome.fate != ButtonOutcome::Fate::Added && !reported) {
                std::cerr << "orvik-decode: " << outcome.reason << "\n";
                skipped = true;
            }
        }
        if (remote.rows.rows.empty()) {
            std::cerr << "orvik-decode: no button to write for " << remote.name << "\n";
            skipped = true;
            continue;
        }
        std::string path;
        if (!WriteRemoteFile(StdFileSystem(), "./", remote.name, remote.rows.rows, &path)) {
            std::cerr << "orvik-decode: cannot write " << path << "\n";
            return false;
        }
        std::cerr << "orvik-decode: wrote " << remote.rows.rows.size() << " keys to " << path << "\n";
        wrote = true;
    }
    return wrote;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (const int status = ParseOptions(argc, argv, options); status != 0)
        return status < 0 ? 0 : status;

    LoadedRemotes remotes;
    if (!options.cfgFiles.empty()) {
        for (const std::string& path : options.cfgFiles) {
            if (!StdFileSystem().Exists(path)) {
                std::cerr << "orvik-decode: cannot open " << path << "\n";
                return 1;
            }
        }
        LoadRemoteFiles(StdFileSystem(), options.cfgFiles, remotes);
    }

    int status = 0;
    std::vector<TrainOfRemote> all;
    for (const std::string& input : options.inputs) {
        std::ifstream file;
        if (input != "-") {
            file.open(input, std::ios::binary);
            if (!file) {
                std::cerr << "orvik-decode: cannot open " << input << ": " << std::strerror(errno) << "\n";
                status = 1;
                continue;
            }
        }
        const std::string name = input == "-" ? "stdin" : input;
        const size_t first = all.size();
        const auto each = [&](const DecodedTrain& train) {
            if (!train.error.empty())
                std::cerr << SkipMessage(name, train) << "\n";
            if (options.cfgFiles.empty()) {
                std::cout << FormatReport(train.report, options.json, train.name,
                                          EnglishText(WhyNothing(train)))
                          << "\n";
            } else {
                char code[CodeDigits + 1];
                CodeText(train.report.code, code);
                std::cout << (train.name.empty() ? "line " + std::to_string(train.line) : train.name) << "\t"
                          << code << "\t" << OrDash(KeyForCode(remotes, train.report.code)) << "\t"
                          << OrDash(KeyForRawSignature(remotes, train.report.rawSignature)) << "\n";
            }
            if (!options.writeRemote.empty())
                all.push_back({train, ""});
        };
        // Flushed whenever the input makes us wait, so that a live recording is answered at once.
        InputInfo info;
        DecodeInput(input == "-" ? std::cin : file, options.session, each, &info, [] { std::cout.flush(); });
        std::cout.flush();
        for (size_t k = first; k < all.size(); ++k) {
            const int block = all[k].train.remote;
            if (block >= 0 && static_cast<size_t>(block) < info.remoteNames.size())
                all[k].block = info.remoteNames[static_cast<size_t>(block)];
        }
        if (info.notACaptureLine != 0) {
            std::cerr << "orvik-decode: " << NotACaptureMessage(name, info.notACaptureLine) << "\n";
            status = 1;
        }
        if (info.strayLines > 0)
            std::cerr << "orvik-decode: " << name << ":" << info.firstStrayLine << ": " << info.strayLines
                      << " line(s) of no format in a Flipper file passed over\n";
    }
    bool skipped = options.session.skipped > 0;

    if (!options.writeRemote.empty() && !WriteRemotes(options, all, skipped))
        return 1;
    if (status == 0 && skipped)
        status = 3;
    return status;
}
