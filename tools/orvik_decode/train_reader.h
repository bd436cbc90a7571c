#pragma once
// Reads pulse trains from text, line by line, in any of the forms people record them in:
//  - one train per line: durations in microseconds separated by blanks or commas; a sign is
//    allowed where it says what the position holds anyway ("+" a pulse, "-" a pause);
//  - LIRC mode2 output: "pulse N" / "space N" lines, a train ending at a space above 30 ms, a
//    "timeout" line or the end of input;
//  - Flipper ".ir" files: "key: value" lines; each "name:" starts a button, whose "type: raw"
//    signal gives its "data:" durations as a train named after the button.
// Blank lines and "#" comments are skipped.
#include <cstdint>
#include <string>
#include <vector>

struct TrainItem {
    int line = 0;     // where the train starts, or the malformed line
    std::string name; // the button, when the input names it
    std::vector<int32_t> durations;
    std::string error; // set for a malformed line or a signal without durations, which has none
};

class TrainReader {
  public:
    // Feeds the next line; trains it completes are appended to items in input order.
    void AddLine(const std::string& text, std::vector<TrainItem>& items);
    // End of input: completes a pending mode2 train.
    void Finish(std::vector<TrainItem>& items);

  private:
    void AddMode2(const std::vector<std::string>& words, std::vector<TrainItem>& items);
    void AddTrainLine(const std::vector<std::string>& words, std::vector<TrainItem>& items);
    void AddKeyLine(const std::vector<std::string>& words, const std::string& value,
                    std::vector<TrainItem>& items);
    void Malformed(const std::string& error, std::vector<TrainItem>& items);

    int lineNumber_ = 0;
    TrainItem pending_; // mode2 train being collected; empty durations when none
    // The Flipper button being read: its name and signal type ("" until a "type:" line).
    std::string buttonName_;
    std::string buttonType_;
};
