#pragma once
// Windows code page 1251 (Cyrillic), the code page the user's read-me ships in. Decoded by our own
// table, so the text reads the same whatever the machine's ANSI code page is.

// The UTF-16 value of one CP1251 byte. 0x98, which the code page leaves unassigned, maps to
// U+0098 as Windows' own conversion does.
char16_t Cp1251ToUtf16(unsigned char byte);
