#pragma once
// Pulse trains as people record them by hand or with LIRC's mode2:
//  - one train per line: durations in microseconds separated by blanks or commas; a sign is
//    allowed where it says what the position holds anyway ("+" a pulse, "-" a pause);
//  - mode2 output: "pulse N" / "space N" lines, a train ending at a space above 30 ms, a
//    "timeout" line or the end of input.
#include <string>
#include <vector>

#include "capture_import/imported_button.h"

class TrainReader {
  public:
    // A line of durations: one train.
    void AddTrainLine(const std::vector<std::string>& words, int line, std::vector<ImportedButton>& out);
    // A "pulse", "space" or "timeout" line.
    void AddMode2Line(const std::vector<std::string>& words, int line, std::vector<ImportedButton>& out);
    // Completes a pending mode2 train (at the end of input, or before a line of another form).
    void Finish(std::vector<ImportedButton>& out);

  private:
    void Malformed(SkipReason error, int line, std::vector<ImportedButton>& out);

    ImportedButton pending_; // mode2 train being collected; no durations when none
};
