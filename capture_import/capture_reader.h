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
//
// A file that is no capture at all is told apart from a capture with bad lines: when the first
// line that is neither blank nor a comment belongs to none of the formats (an XML or HTML page, a
// lircrc, a text), or when a line holds binary bytes (a control byte other than tab, line breaks,
// form feed, Ctrl+Z or escape), reading stops there and the input is "not a capture file this tool
// reads". A later line of no format inside a Flipper file (a stray "IR") is no button: it is
// counted and passed over.
#include <string>
#include <string_view>
#include <vector>

#include "capture_import/capture_lines.h"
#include "capture_import/capture_text.h"
#include "capture_import/flipper_reader.h"
#include "capture_import/imported_button.h"
#include "capture_import/lircd_reader.h"
#include "capture_import/train_reader.h"

class CaptureReader {
  public:
    // Feeds the next line (without its line break); buttons it completes are appended to out.
    // Lines after the input was found to be no capture are passed over.
    void AddLine(std::string_view text, std::vector<ImportedButton>& out);
    // A line longer than kMaxLineBytes, of which only the start was kept.
    void AddOverlongLine(std::vector<ImportedButton>& out);
    // End of input: completes what is pending.
    void Finish(std::vector<ImportedButton>& out);

    // The remote's name the content gives: the name of the first LIRC remote; "" when none.
    const std::string& RemoteName() const { return lircd_.FirstRemoteName(); }
    // Every LIRC remote block's name, in file order (ImportedButton::remote indexes it).
    const std::vector<std::string>& RemoteNames() const { return lircd_.RemoteNames(); }
    // The line at which the input showed itself to be no capture file; 0 while it may be one.
    int NotACaptureLine() const { return notACaptureLine_; }
    // Stray lines passed over in Flipper files, and the first of them (0 when none).
    int StrayLines() const { return strayLines_; }
    int FirstStrayLine() const { return firstStrayLine_; }

  private:
    void FinishOthers(std::vector<ImportedButton>& out);
    // A line of no format: the end of a file that is no capture, a stray line, or a malformed train.
    void AddOtherLine(std::string_view content, std::vector<ImportedButton>& out);

    int line_ = 0;
    int notACaptureLine_ = 0;
    bool anyCapture_ = false; // a line of a capture format was read
    bool inFlipper_ = false;  // ... and the last of them was a Flipper "key: value" line
    int strayLines_ = 0;
    int firstStrayLine_ = 0;
    TrainReader trains_;
    FlipperReader flipper_;
    LircdReader lircd_;
};
