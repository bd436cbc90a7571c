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
    DecodeReport report;
    std::string error;        // why it was not decoded; empty when it was
    bool repeatFrame = false; // 3 to 6 durations: a held button's repeat
};

// Decodes the button's train. A button without a train, or a train with a duration of 0 or below or
// longer than any receiver delivers, is not decoded: it gets the all-zero code and its reason, and
// counts in session.skipped.
DecodedTrain DecodeButton(const ImportedButton& button, DecodeSession& session);
