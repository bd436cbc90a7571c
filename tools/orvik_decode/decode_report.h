#pragma once
// What orvik-decode prints for each train: the code, its coding, its bit count, the raw signature
// of the same train and the button's name when the input gives one, as a tab-separated line or a
// JSON object.
#include <cstdint>
#include <functional>
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

std::string FormatReport(const DecodeReport& report, bool json, const std::string& name = "");

// Trains are decoded in order, each with the previous result as the previous code, across every
// input of one run.
struct DecodeSession {
    bool json = false;
    KeyCode previousCode = 0;
    int model = -1; // a receiver model (0, 1, 2) whose delivery is imitated first, or -1
    int32_t scaler = 8533;
    int skipped = 0; // items reported and not decoded
};

// One train of the input and what became of it.
struct DecodedTrain {
    int line = 0;
    std::string name;
    DecodeReport report;
    std::string error;        // why it was not decoded; empty when it was
    bool repeatFrame = false; // 3 to 6 durations: a held button's repeat
};

// Reads and decodes every train of in, handing each to each as soon as its last line has been
// read (so that a live recording piped in is answered at once). A malformed line, or a train with
// a duration of 0 or below or longer than any receiver delivers, is not decoded: it gets the
// all-zero code and its reason, and counts in session.skipped.
void DecodeInput(std::istream& in, DecodeSession& session,
                 const std::function<void(const DecodedTrain&)>& each);
// The same, collected.
std::vector<DecodedTrain> DecodeInput(std::istream& in, DecodeSession& session);

// The message for a train that was not decoded: "inputName:line: reason".
std::string SkipMessage(const std::string& inputName, const DecodedTrain& train);

// Decodes every train of in, one output line each; a train that is not decoded gets a message on
// err naming inputName and its line number, and the all-zero code on out.
void DecodeStream(std::istream& in, const std::string& inputName, DecodeSession& session, std::ostream& out,
                  std::ostream& err);
