#pragma once
// Imported buttons as rows of the key list: what the dialog appends under a remote and what
// orvik-decode --write-cfg writes, so that a remote works without learning it button by button.
#include <string>
#include <vector>

#include "capture_import/imported_button.h"
#include "capture_import/train_decoding.h"
#include "config/key_table.h"

// How the buttons are converted: for which receiver and in which mode of the plug-in.
struct ImportSettings {
    int model = -1; // the receiver model whose delivery is imitated (0, 1, 2), or -1 for none
    int32_t scaler = kDefaultScaler;
    bool rawMode = false;                   // raw patterns instead of codes
    int32_t bufferSize = kSampleBufferSize; // the sample bytes the plug-in takes from one read
};

// What became of one button of the file.
struct ButtonOutcome {
    enum class Fate {
        Added,        // at least one row was added for it
        Unreadable,   // the file gives it no train, a train no receiver delivers, or a repeat frame only
        SameCode,     // its code is another button's, of the file or of the remote
        SamePattern,  // its raw pattern is another button's
        NoCodeNorRaw, // its trains give neither a code nor a raw pattern
    };
    std::string button; // its name, or "Line N"
    Fate fate = Fate::Added;
    std::string reason;         // for every fate but Added: a sentence naming the button
    std::string detail;         // Unreadable: why, in the reader's or the decoder's words (English)
    SkipReason detailReason;    // ... the same as an identifier and values, for a text of the dialog's own
    std::string owner;          // SameCode, SamePattern: the button that has that code or pattern
    bool ownerInRemote = false; // ... and it is a row the remote had before
};

struct ImportRows {
    std::vector<KeyListRow> rows;        // code rows in input order, then the raw pattern rows
    std::vector<ButtonOutcome> outcomes; // one per button, in the order the buttons first appear
};

// The rows for remote from decoded trains. In code mode: per button, the codes its trains give (a
// button with several codes gets one row each), or, when none of its trains decodes, the raw
// pattern of its first train that gives one. In raw mode: the raw pattern of each button's first
// train that gives one. A button with a toggle bit (DecodedTrain::hasToggled) also gets the code
// or the pattern of its other toggle state when that differs, in a second row of the same name,
// so that every press matches. Trains not decoded, and repeat frames (which only repeat the
// button before them), are left out with their reason. A code (or raw pattern) that an earlier
// button, or a row of remote in existing, already gives stays with that one: the plug-in would
// report it, so the later button is left out.
ImportRows BuildImportRows(const std::vector<DecodedTrain>& trains, const std::string& remote, bool rawMode,
                           const std::vector<KeyListRow>& existing = {});

// The buttons a capture reader gave, decoded in order for settings' receiver and turned into rows.
ImportRows ConvertButtons(const std::vector<ImportedButton>& buttons, const std::string& remote,
                          const ImportSettings& settings, const std::vector<KeyListRow>& existing = {});
