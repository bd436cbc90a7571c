#pragma once
// Reads pulse trains from text, line by line: one train per line (durations in microseconds,
// separated by blanks or commas, a leading sign ignored) or LIRC mode2 output ("pulse N" /
// "space N" lines, a train ending at a space above 30 ms, a "timeout" line or the end of input).
// Blank lines and "#" comments are skipped.
#include <cstdint>
#include <string>
#include <vector>

struct TrainItem {
    int line = 0; // where the train starts, or the malformed line
    std::vector<int32_t> durations;
    std::string error; // set for a malformed line, which has no durations
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
    void Malformed(const std::string& error, std::vector<TrainItem>& items);

    int lineNumber_ = 0;
    TrainItem pending_; // mode2 train being collected; empty durations when none
};
