#pragma once
// What every capture reader yields for one button: its name and either the first frame it sends,
// as a receiver sees the burst, or why there is none.
#include <cstdint>
#include <string>
#include <vector>

struct ImportedButton {
    int line = 0;     // where the button starts in its file (1 is the first line)
    std::string name; // "" when the file does not name it
    // Durations in microseconds, a pulse first, alternating with pauses; a frame made from a
    // protocol description ends on its last pulse.
    std::vector<int32_t> durations;
    std::string skipped; // why the button gives no train; empty when it has one
};

// A train longer than this is cut here when it is read: no receiver delivers more than 513
// durations, and the cut keeps a reader's memory bounded on a huge or endless input.
constexpr size_t kMaxImportedDurations = 4096;
