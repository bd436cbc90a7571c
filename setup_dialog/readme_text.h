#pragma once
// The user's read-me as the about page shows it: CP1251 bytes turned into UTF-16 for the wide text
// box, independent of the machine's ANSI code page.
#include <cstddef>
#include <string>
#include <string_view>

// Bytes read from the file at most; a longer file is shown up to there.
inline constexpr size_t kReadmeByteLimit = 1 << 20;

struct ReadmeText {
    std::u16string text; // every line end as CRLF, as the multi-line text box needs
    int lineCount = 0;   // lines as a list of lines counts them: a last line without an end counts
};

// Decodes at most kReadmeByteLimit bytes, up to the first NUL byte. CR, LF and CRLF each end one
// line.
ReadmeText DecodeReadme(std::string_view bytes);
