#pragma once
// Flipper ".ir" files: "key: value" lines; each "name:" starts a button. A raw signal ("type: raw")
// gives its "data:" durations; a parsed signal ("type: parsed") gives the first frame that its
// "protocol:" sends for its "address:" and "command:" (four bytes each, least significant first);
// RC5 with a command above 63 as RC5X (AsExtendedRc5), and RC5, RC5X and RC6 with the frame of the
// other toggle state too.
#include <string>
#include <vector>

#include "capture_import/imported_button.h"

class FlipperReader {
  public:
    // A line whose first word ends in ':'; key is that word without it, value the rest of the line.
    void AddKeyLine(const std::string& key, const std::vector<std::string>& words, const std::string& value,
                    int line, std::vector<ImportedButton>& out);
    // Completes a button whose signal is still incomplete: it is reported.
    void Finish(std::vector<ImportedButton>& out);

  private:
    void Skip(SkipReason reason, int line, std::vector<ImportedButton>& out);
    void AddParsedField(const std::string& key, const std::vector<std::string>& words, int line,
                        std::vector<ImportedButton>& out);

    // The button being read: its name, line and signal type ("" until a "type:" line).
    std::string name_;
    int nameLine_ = 0;
    std::string type_;
    bool complete_ = true; // its signal has been given (or reported)
    // A parsed signal's fields as far as read.
    std::string protocol_;
    bool hasAddress_ = false;
    bool hasCommand_ = false;
    uint32_t address_ = 0;
    uint32_t command_ = 0;
};
