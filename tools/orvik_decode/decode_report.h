#pragma once
// What orvik-decode prints for each train: the code, its coding, its bit count and the raw
// signature of the same train, as a tab-separated line or a JSON object.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "decoding/key_code.h"

struct DecodeReport {
    KeyCode code = 0;
    std::string rawSignature; // text form, empty when the train gives none
};

// Decodes a train as the receiver would deliver it: at most its first 513 durations.
DecodeReport DecodeTrain(const std::vector<int32_t>& durations, KeyCode previousCode);

std::string FormatReport(const DecodeReport& report, bool json);

// Trains are decoded in order, each with the previous result as the previous code, across every
// input of one run.
struct DecodeSession {
    bool json = false;
    KeyCode previousCode = 0;
};

// Decodes every train of in, one output line each; a malformed line gets a message on err
// naming inputName and its line number, and the all-zero code on out.
void DecodeStream(std::istream& in, const std::string& inputName, DecodeSession& session, std::ostream& out,
                  std::ostream& err);
