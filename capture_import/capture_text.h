#pragma once
// Every button of a capture file, read whole: what the dialog's import and the tests take from a
// file (orvik-decode reads line by line, with CaptureReader itself).
#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "capture_import/imported_button.h"
#include "capture_import/name_text.h"

enum class CaptureFileStatus {
    Read,        // read as a capture file; its buttons may still be left out one by one
    NotACapture, // no capture file this tool reads (XML, HTML, a lircrc, a binary file): no buttons
};

// A name that the code page could not hold whole: as the file has it (UTF-8, or its bytes), and as
// it is stored, with stand-ins (name_text.h).
struct RenamedText {
    std::string original;
    std::string stored;
};

struct CaptureText {
    std::vector<ImportedButton> buttons; // in file order; empty when status is NotACapture
    // The name of the file's first LIRC remote; "" when it has none. Kept for callers that take
    // one remote from a file; remoteNames and SplitByRemote give every one.
    std::string remoteName;
    bool truncated = false; // reading stopped at a bound while the input held more

    CaptureFileStatus status = CaptureFileStatus::Read;
    int stoppedAtLine = 0; // NotACapture: the line that showed it (1 is the first)
    // One name per lircd.conf "begin remote" block, in file order ("" for a block without one);
    // ImportedButton::remote is an index into it.
    std::vector<std::string> remoteNames;
    // Lines of no format inside a Flipper file, passed over as no button, and the first of them.
    int strayLines = 0;
    int firstStrayLine = 0;
    // Button and remote names that a stand-in took a character of, each once, in file order.
    std::vector<RenamedText> renamed;
};

// The file-level message for a file that is no capture: "not a capture file this tool reads".
// orvik-decode prints it after the file's name and the line, as it prints a button's reason.
extern const char kNotACaptureText[];

// Every button of a whole text, in order. Names, remote names and the words that reasons quote are
// converted to codePage (name_text.h); by default they keep the file's bytes. A text that starts
// with a UTF-16 byte order mark is read as UTF-16.
CaptureText ReadCaptureText(std::string_view text, const NameCodePage& codePage = {});

// The same from a stream (a file the user chose), line by line, so that memory stays bounded by
// the buttons kept: after maxButtons buttons reading stops, and truncated says so.
CaptureText ReadCaptureStream(std::istream& in, size_t maxButtons, const NameCodePage& codePage = {});

// The remote name for buttons read from path: the one the content gives (a lircd.conf remote's
// name), else FileRemoteName(path).
std::string ImportRemoteName(const std::string& path, const CaptureText& read);
// The file's name without its folder and extension ("TV" for "C:\ir\TV.ir").
std::string FileRemoteName(const std::string& path);

// One remote of a file and its buttons.
struct CaptureRemote {
    std::string name;
    std::vector<ImportedButton> buttons; // in file order
};

// The buttons of read, one remote per lircd.conf block under the block's own name, and the buttons
// outside any block under fileRemote (also a block without a name; the dialog gives the file's
// name, FileRemoteName). Blocks of one name are one
// remote, as their keys would be saved into one file. Remotes in the order they first appear;
// remotes without buttons are left out.
std::vector<CaptureRemote> SplitByRemote(const CaptureText& read, const std::string& fileRemote);
