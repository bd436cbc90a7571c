#pragma once
// Small text helpers the capture readers share: splitting a line into words and reading numbers
// as the formats write them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "capture_import/skip_reason.h"

// The words of a line, split at blanks, tabs, carriage returns and (when commas is set) commas.
std::vector<std::string> Words(std::string_view text, bool commas = false);

// The line without a comment: from the first '#' that starts a word on.
std::string_view WithoutComment(std::string_view text);

// Parses an unsigned number in C notation ("0x" hexadecimal, a leading 0 octal, else decimal),
// as LIRC reads its files. False when the word is not such a number or is above max.
bool ParseCNumber(std::string_view word, uint64_t max, uint64_t& value);

// Parses a word of hexadecimal digits only (no prefix), at most 16 of them.
bool ParseHexWord(std::string_view word, uint64_t& value);

// Letters a..z as A..Z; other bytes unchanged.
std::string UpperAscii(std::string_view text);

// "0x" and the value's hexadecimal digits, upper case.
std::string HexText(uint64_t value);

// Where a sign may stand in front of a duration: nowhere, or where it matches the position of the
// duration ("+" pulses at even positions, "-" pauses at odd ones) and so adds nothing but a check.
enum class DurationSigns { Refused, ByPosition };

// A duration in decimal microseconds, with a sign where allowed. False with a reason when the word
// is not a number, is above the largest 32-bit value, or has a sign out of place.
bool ParseDuration(std::string_view word, DurationSigns signs, size_t position, int32_t& value,
                   SkipReason& error);
