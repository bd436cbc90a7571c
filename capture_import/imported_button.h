#pragma once
// What every capture reader yields for one button: its name and either the first frame it sends,
// as a receiver sees the burst, or why there is none.
#include <cstdint>
#include <string>
#include <vector>

#include "capture_import/skip_reason.h"

struct ImportedButton {
    int line = 0;     // where the button starts in its file (1 is the first line)
    std::string name; // "" when the file does not name it
    // Durations in microseconds, a pulse first, alternating with pauses; a frame made from a
    // protocol description ends on its last pulse.
    std::vector<int32_t> durations;
    // For a protocol with a toggle bit (RC5, RC5X, RC6, a LIRC remote with a toggle mask): the
    // same frame with the toggle in its other state, which every other press sends; empty for
    // every other button.
    std::vector<int32_t> toggled;
    // The LIRC remote block the button stands in: an index into CaptureText::remoteNames; -1
    // outside any block (the file's own remote).
    int remote = -1;
    std::string skipped; // why the button gives no train, in English; empty when it has one
    SkipReason reason;   // the same as an identifier and values (skipped is EnglishText(reason))
};

// Sets the reason a button has no train (both of its forms) and drops its trains.
inline void SetSkipped(ImportedButton& button, SkipReason reason) {
    button.skipped = EnglishText(reason);
    button.reason = std::move(reason);
    button.durations.clear();
    button.toggled.clear();
}

// A train longer than this is cut here when it is read: no receiver delivers more than 513
// durations, and the cut keeps a reader's memory bounded on a huge or endless input.
constexpr size_t kMaxImportedDurations = 4096;
