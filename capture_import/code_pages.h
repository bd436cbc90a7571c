#pragma once
// The single-byte ANSI code pages that texts from capture files are converted to without the
// system's help: 1251 (Cyrillic, the plug-in's own texts) and 1252 (Western). Bytes 0x00..0x7F are
// ASCII in both; the tables give 0x80..0xFF.
#include <cstdint>

bool IsTableCodePage(int codePage);

// The UTF-16 value of one byte of a table code page (1251 for a number that is none). A byte the
// code page leaves unassigned maps to the C1 control of the same value, as Windows' own
// conversion does (0x98 in 1251 to U+0098).
char16_t CodePageToUtf16(int codePage, unsigned char byte);

// The byte of a table code page for the character c; false when the code page has none.
bool Utf16ToCodePage(int codePage, char32_t c, unsigned char& byte);
