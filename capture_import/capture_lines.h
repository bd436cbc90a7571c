#pragma once
// A capture file line by line, as bytes, or, for a UTF-16 file (the byte order mark FF FE or FE FF
// first: what Notepad saves as "Unicode"), as its UTF-8 form, so that every reader sees one kind of
// text. A line is bounded, so that memory stays bounded whatever the file holds.
#include <cstddef>
#include <istream>
#include <string>

// Lines longer than this are not read (a report takes their place): no format needs them.
constexpr size_t kMaxLineBytes = 1 << 20;

class CaptureLines {
  public:
    explicit CaptureLines(std::istream& in) : in_(in) {}

    // The next line without its line break, at most kMaxLineBytes of it (the rest of a longer line
    // is passed over, and overlong set). False at the end of input.
    bool Next(std::string& line, bool& overlong);

  private:
    enum class Form { Unknown, Bytes, Utf16Little, Utf16Big };

    int NextByte();
    // The next character of a UTF-16 file; -1 at the end. Unpaired surrogates give U+FFFD.
    long NextCharacter();
    long NextUnit();

    std::istream& in_;
    Form form_ = Form::Unknown;
    std::string pending_;   // bytes read while looking for a byte order mark, not yet taken
    long pendingUnit_ = -1; // a UTF-16 unit read ahead after a lone high surrogate
};
