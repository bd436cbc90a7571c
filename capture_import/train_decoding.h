#pragma once
// What the plug-in makes of an imported button's train: the receiver model's quantisation first
// (when one is chosen), then the decoder's code and the raw signature, as the sampling thread
// would give them for that burst.
#include <cstdint>
#include <string>
#include <vector>

#include "capture_import/imported_button.h"
#include "capture_import/receiver_model.h"
#include "decoding/key_code.h"

struct DecodeReport {
    KeyCode code = 0;
    std::string rawSignature; // text form, empty when the train gives none
};

// Decodes a train as the receiver would deliver it: at most its first 513 durations.
DecodeReport DecodeTrain(const std::vector<int32_t>& durations, KeyCode previousCode);

// Trains are decoded in order, each with the previous result as the previous code.
struct DecodeSession {
    int model = -1; // a receiver model (0, 1, 2) whose delivery is imitated first, or -1
    int32_t scaler = kDefaultScaler;
    int32_t bufferSize = kSampleBufferSize; // the sample bytes the plug-in takes from one read
    KeyCode previousCode = 0;
    int skipped = 0; // buttons reported and not decoded
};

// One button's train and what became of it.
struct DecodedTrain {
    int line = 0;
    std::string name;
    int remote = -1; // the button's LIRC remote block (ImportedButton::remote)
    DecodeReport report;
    std::string error;        // why it was not decoded, in English; empty when it was
    SkipReason errorReason;   // the same as an identifier and values
    bool repeatFrame = false; // 3 to 6 durations delivered: a held button's repeat
    size_t delivered = 0;     // the durations the decoder was given
    // The button's frame in its other toggle state (ImportedButton::toggled), decoded with the
    // same previous code; hasToggled is false for a button without one.
    bool hasToggled = false;
    DecodeReport toggled;
};

// Decodes the button's train. A button without a train, or a train whose frame holds a duration
// of 0 or below or one longer than any receiver delivers, is not decoded: it gets the all-zero
// code and its reason, and counts in session.skipped. Such a duration after the frame (in a pause
// from the decoder's frame gap on, or in the last pause) ends the train there instead, as a
// receiver's timeout would end the burst.
DecodedTrain DecodeButton(const ImportedButton& button, DecodeSession& session);

// Why a decoded train gives nothing: its error, or, for a train of code 0 without a raw pattern,
// why there is no pattern either; empty when it gives a code or a pattern.
SkipReason WhyNothing(const DecodedTrain& train);
