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

// Reads every button of in, in whatever capture format it comes, and decodes it, handing each to
// each as soon as its last line has been read. waiting, when given, is called whenever the next
// read may have to wait for more input, so that output can be flushed then (a live recording
// piped in is answered at once, and a file is not written line by line). The remote name the
// content gives (a lircd.conf remote's) is set in *remoteName.
void DecodeInput(std::istream& in, DecodeSession& session,
                 const std::function<void(const DecodedTrain&)>& each, std::string* remoteName = nullptr,
                 const std::function<void()>& waiting = {});
// The same, collected.
std::vector<DecodedTrain> DecodeInput(std::istream& in, DecodeSession& session);

// The message for a button that was not decoded: "inputName:line: reason".
std::string SkipMessage(const std::string& inputName, const DecodedTrain& train);

// Decodes every button of in, one output line each; a button that is not decoded gets a message
// on err naming inputName and its line number, and the all-zero code on out.
void DecodeStream(std::istream& in, const std::string& inputName, DecodeSession& session, std::ostream& out,
                  std::ostream& err, bool json = false);
