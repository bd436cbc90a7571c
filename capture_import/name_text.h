#pragma once
// Names and other texts from capture files as the plug-in stores them: single-byte ANSI in the
// code page of the user's Windows. Capture files are UTF-8 (Flipper files by definition,
// lircd.conf files in practice) or UTF-16 (read as UTF-8); a byte that is not part of valid UTF-8
// is taken to be ANSI already, as in a file saved in the code page itself.
//
// A character the code page cannot hold, and a control character, becomes the visible stand-in
// "{U+XXXX}" (its Unicode number, at least four upper-case hexadecimal digits). Not '?': that is
// what Windows puts in by itself and what names hold anyway ("Input?"), and one character for
// every unknown one would give "Vol▲" and "Vol▼" one name, so that the host could no longer tell
// the two buttons apart. The stand-in is ASCII, so every code page holds it, and it names the
// character, so that the user can see what it was and rename the key.
#include <string>
#include <string_view>

// The bytes of one character in the code page names are stored in; false when the code page has no
// such character. The Win32 side gives WideCharToMultiByte(CP_ACP) in this form
// (SystemNameCodePage).
using AnsiOfCharacter = bool (*)(char32_t character, std::string& bytes);

struct NameCodePage {
    // 1251 or 1252: converted by the portable tables (capture_import/code_pages.h); 0: texts keep
    // the file's bytes (orvik-decode's output).
    int number = 0;
    AnsiOfCharacter convert = nullptr; // when set, used instead of the tables
};

// The stand-in for a character: "{U+2191}".
std::string StandIn(char32_t character);

// The next character of UTF-8 text at position at, which moves past it. False for a byte that
// starts no valid sequence (overlong forms, surrogates and values above U+10FFFF included): then
// character is that byte and at moves past it alone.
bool NextUtf8(std::string_view text, size_t& at, char32_t& character);

// Appends the UTF-8 form of a character.
void AppendUtf8(char32_t character, std::string& out);

// text in the code page; *changed is set when a stand-in took the place of a character. With
// neither a number nor a converter the text is returned as it is.
std::string StoredText(std::string_view text, const NameCodePage& codePage, bool* changed = nullptr);

// text with every control byte (below 0x20, and 0x7F) replaced by its stand-in: for words of a
// file that a reason quotes.
std::string WithoutControls(std::string_view text);
