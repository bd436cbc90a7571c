#pragma once
// Pronto hex codes, one button a line: "KEY_1: 0000 006D 000C 0000 0025 ...", or the hex words
// alone for a button named by its line.
//  - 0000 (learned, modulated) and 0100 (learned, unmodulated): the once sequence, or the repeat
//    sequence when the once part is empty; each count times the carrier period (word 1 times
//    0.241246 us), rounded to the nearest microsecond; the final off time dropped.
//  - 5000 (RC5, words 4 and 5 system and command; RC5X for a command above 63), 6000 (RC6 mode 0,
//    system and command) and 900A (NEC: word 4 device and subdevice, word 5 command and its
//    complement, high byte first): the protocol's first frame at its nominal timings, and for RC5
//    and RC6 the frame of the other toggle state too.
#include <string>
#include <string_view>
#include <vector>

#include "capture_import/imported_button.h"

// True when the words look like a Pronto code: at least four words of four hexadecimal digits, the
// first a code type this reader knows.
bool LooksLikePronto(const std::vector<std::string>& words, size_t first = 0);

// The button of one Pronto code (words[first] on), named name, from line line.
ImportedButton ReadProntoCode(const std::vector<std::string>& words, size_t first, const std::string& name,
                              int line);

// Splits "name: words" where the words after ": " look like a Pronto code: the name (which may hold
// blanks and colons) and the index of the first hex word in words. False when the line is no such
// line.
bool SplitNamedPronto(std::string_view text, const std::vector<std::string>& words, std::string& name,
                      size_t& first);
