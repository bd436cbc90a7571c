// Measures what the decoder makes of the real captures, without judging it: the codes are fixed by
// stored remote definition files, so these figures describe the coding, not a goal to tune for.
//   - recognised: captures that decode to a code by themselves (previous code 0);
//   - consistent: buttons with at least two captures whose captures all get one code. A button is
//     a named button of one file; unnamed ones, and names that the collection's expected decodes
//     show to cover several commands (a protocol name as label), are left out;
//   - distinct: remotes (capture files) whose recognised named buttons all get different codes;
//   - stretch: captures whose raw signature changes when every duration is 10 % longer.
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "decoding/raw_signature.h"
#include "support/code_checks.h"
#include "support/ir_captures.h"
#include "support/ir_trains.h"
#include "support/train_results.h"

namespace {

bool Unnamed(const std::string& button) {
    return button == "(unlabelled)" || button == "???";
}

// Keys (source, file, button) for which the expected decodes name more than one command.
std::set<std::string> SeveralCommandLabels() {
    std::vector<IrProtocolEntry> entries;
    std::string error;
    if (!ReadIrProtocols(IrProtocolsPath(ORVIK_TESTDATA_DIR), entries, error))
        std::fprintf(stderr, "decoding_capture_stats: %s (all named buttons are used)\n", error.c_str());
    std::map<std::string, std::set<std::string>> decodes;
    for (const IrProtocolEntry& entry : entries)
        decodes[entry.source + " " + entry.file + "\t" + entry.button].insert(entry.decode);
    std::set<std::string> several;
    for (const auto& [key, set] : decodes) {
        if (set.size() > 1)
            several.insert(key);
    }
    return several;
}

void PrintShare(const char* what, size_t part, size_t whole) {
    std::printf("%-58s %5zu of %5zu = %5.1f %%\n", what, part, whole,
                whole == 0 ? 0.0 : 100.0 * part / whole);
}

} // namespace

int main() {
    std::vector<IrCapture> captures;
    std::string error;
    if (!ReadIrCaptures(IrCapturesPath(ORVIK_TESTDATA_DIR), captures, error)) {
        std::fprintf(stderr, "decoding_capture_stats: %s\n", error.c_str());
        return 1;
    }

    const std::set<std::string> severalCommands = SeveralCommandLabels();
    size_t recognised = 0;
    std::map<std::string, std::vector<KeyCode>> codesOfButton; // file + button -> codes of its captures
    std::map<std::string, std::map<KeyCode, std::set<std::string>>> buttonsOfCode; // file -> code -> buttons
    std::vector<std::string> stretchChanges;
    size_t signatures = 0;
    for (const IrCapture& capture : captures) {
        const Durations train = AsReceived(capture);
        const KeyCode code = DecodeCopy(train, 0);
        const std::string remote = capture.source + " " + capture.file;
        const std::string button = remote + "\t" + capture.button;
        if (!Unnamed(capture.button) && severalCommands.count(button) == 0)
            codesOfButton[button].push_back(code);
        recognised += code != 0 ? 1 : 0;
        if (code != 0 && !Unnamed(capture.button))
            buttonsOfCode[remote][code].insert(capture.button);
        const std::string signature = SignatureTextOf(train);
        if (signature.empty())
            continue;
        ++signatures;
        const Durations stretched = Stretched(train, 11, 10);
        if (!SameRawSignature(signature.c_str(), SignatureTextOf(stretched).c_str()))
            stretchChanges.push_back(
                capture.file + " / " + capture.button + " #" + std::to_string(capture.capture) +
                (NeighbourRatioCrossesTheLine(train, stretched) ? " (ratio crosses 75 %)" : ""));
    }

    size_t groups = 0;
    size_t oneCode = 0;
    size_t groupsRecognised = 0;
    size_t oneCodeRecognised = 0;
    for (const auto& [button, codes] : codesOfButton) {
        if (codes.size() < 2)
            continue;
        ++groups;
        const std::set<KeyCode> distinct(codes.begin(), codes.end());
        if (distinct.size() == 1 && codes.front() != 0)
            ++oneCode;
        std::set<KeyCode> recognisedCodes = distinct;
        recognisedCodes.erase(0);
        if (static_cast<size_t>(
                std::count_if(codes.begin(), codes.end(), [](KeyCode c) { return c != 0; })) >= 2) {
            ++groupsRecognised;
            oneCodeRecognised += recognisedCodes.size() == 1 ? 1 : 0;
        }
    }

    size_t remotes = 0;
    size_t distinctRemotes = 0;
    for (const auto& [remote, buttons] : buttonsOfCode) {
        std::set<std::string> allButtons;
        bool shared = false;
        for (const auto& [code, names] : buttons) {
            allButtons.insert(names.begin(), names.end());
            shared = shared || names.size() > 1;
        }
        if (allButtons.size() < 2)
            continue;
        ++remotes;
        distinctRemotes += shared ? 0 : 1;
    }

    std::printf("%zu captures\n", captures.size());
    PrintShare("captures recognised", recognised, captures.size());
    PrintShare("buttons (2+ captures): all captures get one code", oneCode, groups);
    PrintShare("buttons (2+ recognised captures): those get one code", oneCodeRecognised, groupsRecognised);
    PrintShare("remotes (2+ recognised buttons): all codes distinct", distinctRemotes, remotes);
    PrintShare("captures with a raw signature", signatures, captures.size());
    PrintShare("raw signatures changed by a 10 % stretch", stretchChanges.size(), signatures);
    for (const std::string& where : stretchChanges)
        std::printf("  %s\n", where.c_str());
    return 0;
}
