#pragma once
// Reads the buttons of a capture file in whatever form it has, recognised from its content, line
// by line so that a recording piped in is answered at once:
//  - LIRC lircd.conf remote blocks ("begin remote" ... "end remote");
//  - Flipper .ir files ("key: value" lines);
//  - Pronto hex codes, named ("KEY_1: 0000 006D ...") or alone on a line;
//  - LIRC mode2 output ("pulse N" / "space N");
//  - plain trains, one a line.
// Blank lines and "#" comments are skipped. A malformed line, an unknown protocol or a number out of
// range gives a button with the reason it has no train; reading goes on with the next line.
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "capture_import/flipper_reader.h"
#include "capture_import/imported_button.h"
#include "capture_import/lircd_reader.h"
#include "capture_import/train_reader.h"

// Lines longer than this are not read (a report takes their place): no format needs them, and the
// limit keeps the memory of reading a file bounded whatever it holds.
constexpr size_t kMaxLineBytes = 1 << 20;

class CaptureReader {
  public:
    // Feeds the next line (without its line break); buttons it completes are appended to out.
    void AddLine(std::string_view text, std::vector<ImportedButton>& out);
    // A line longer than kMaxLineBytes, of which only the start was kept.
    void AddOverlongLine(std::vector<ImportedButton>& out);
    // End of input: completes what is pending.
    void Finish(std::vector<ImportedButton>& out);

    // The remote's name the content gives: the name of the first LIRC remote; "" when none.
    const std::string& RemoteName() const { return lircd_.FirstRemoteName(); }

  private:
    void FinishOthers(std::vector<ImportedButton>& out);

    int line_ = 0;
    TrainReader trains_;
    FlipperReader flipper_;
    LircdReader lircd_;
};

// Reads the next line of in into line, at most kMaxLineBytes of it (the rest of a longer line is
// passed over, and overlong set). False at the end of input.
bool ReadBoundedLine(std::istream& in, std::string& line, bool& overlong);

// Every button of a whole text, in order, and the remote name it gives.
struct CaptureText {
    std::vector<ImportedButton> buttons;
    std::string remoteName;
    bool truncated = false; // reading stopped at a bound while the input held more
};
CaptureText ReadCaptureText(std::string_view text);

// The same from a stream (a file the user chose), line by line, so that memory stays bounded by
// the buttons kept: after maxButtons buttons reading stops, and truncated says so.
CaptureText ReadCaptureStream(std::istream& in, size_t maxButtons);

// The remote name for buttons read from path: the one the content gives (a lircd.conf remote's
// name), else the file's name without its folder and extension ("TV" for "C:\ir\TV.ir").
std::string ImportRemoteName(const std::string& path, const CaptureText& read);
