#pragma once
// LIRC lircd.conf files: every "begin remote" ... "end remote" block. A remote's parameters come
// first; each line of its "begin codes" section gives a button (its name and code; of several codes
// the first is sent first), each "name" of its "begin raw_codes" section a button with the
// durations on the lines that follow. Keywords match without regard to case, as LIRC reads them.
// Every block is a remote of its own: its buttons carry the block's index (ImportedButton::remote).
#include <string>
#include <vector>

#include "capture_import/imported_button.h"
#include "capture_import/lircd_remote.h"

class LircdReader {
  public:
    static bool StartsRemote(const std::vector<std::string>& words);
    bool InRemote() const { return section_ != Section::None; }

    // The next line of a remote block (from its "begin remote" on), as words without comments.
    void AddLine(const std::vector<std::string>& words, int line, std::vector<ImportedButton>& out);
    // Completes a pending raw button.
    void Finish(std::vector<ImportedButton>& out);

    // The name of the file's first remote; "" before one is named.
    const std::string& FirstRemoteName() const { return firstName_; }
    // The name of every block so far, in file order ("" for a block without one).
    const std::vector<std::string>& RemoteNames() const { return names_; }

  private:
    enum class Section { None, Parameters, Codes, RawCodes };

    void AddParameter(const std::vector<std::string>& words);
    void AddCode(const std::vector<std::string>& words, int line, std::vector<ImportedButton>& out);
    void AddRawLine(const std::vector<std::string>& words, int line, std::vector<ImportedButton>& out);

    Section section_ = Section::None;
    LircRemote remote_;
    bool hasFirstCode_ = false;
    uint64_t firstCode_ = 0;
    ImportedButton raw_; // the raw button being read; line 0 when none
    std::string firstName_;
    std::vector<std::string> names_;
};
