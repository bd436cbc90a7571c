#pragma once
// What orvik-decode prints for each button: the code, its coding, its bit count, the raw signature
// of the same train and the button's name when the input gives one, as a tab-separated line or a
// JSON object (which also says why a button was skipped).
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "capture_import/train_decoding.h"

std::string FormatReport(const DecodeReport& report, bool json, const std::string& name = "",
                         const std::string& skipped = "");

// What reading one input told besides its buttons.
struct InputInfo {
    std::vector<std::string> remoteNames; // its lircd.conf blocks' names (DecodedTrain::remote)
    int notACaptureLine = 0; // the line that showed it to be no capture file; 0 when it may be one
    int strayLines = 0;      // lines of no format in a Flipper file, passed over
    int firstStrayLine = 0;
};

// Reads every button of in, in whatever capture format it comes (UTF-16 with a byte order mark
// too), and decodes it, handing each to each as soon as its last line has been read. waiting, when
// given, is called whenever the next read may have to wait for more input, so that output can be
// flushed then (a live recording piped in is answered at once, and a file is not written line by
// line). Reading stops at a line that shows the input to be no capture file. *info, when given,
// receives what the reading told besides the buttons.
void DecodeInput(std::istream& in, DecodeSession& session,
                 const std::function<void(const DecodedTrain&)>& each, InputInfo* info = nullptr,
                 const std::function<void()>& waiting = {});
// The same, collected.
std::vector<DecodedTrain> DecodeInput(std::istream& in, DecodeSession& session);

// The message for a button that was not decoded: "inputName:line: reason".
std::string SkipMessage(const std::string& inputName, const DecodedTrain& train);
// The message for an input that is no capture file: "inputName:line: not a capture file this tool
// reads".
std::string NotACaptureMessage(const std::string& inputName, int line);

// Decodes every button of in, one output line each; a button that is not decoded gets a message
// on err naming inputName and its line number, and the all-zero code on out. An input that is no
// capture file gets its message on err. With json, a button of code 0 without a raw pattern says
// why (WhyNothing).
void DecodeStream(std::istream& in, const std::string& inputName, DecodeSession& session, std::ostream& out,
                  std::ostream& err, bool json = false);
