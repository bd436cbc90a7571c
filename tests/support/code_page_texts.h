#pragma once
// The ANSI code page 1251 (Cyrillic) both ways, through its own table, for portable tests of the
// dialog. A character the code page lacks becomes "?", as Windows' conversion makes it.
#include <string>
#include <string_view>

#include "setup_dialog/cp1251.h"
#include "setup_dialog/import_target.h"

inline std::wstring WideOf1251(std::string_view bytes) {
    std::wstring text;
    for (char c : bytes)
        text += static_cast<wchar_t>(Cp1251ToUtf16(static_cast<unsigned char>(c)));
    return text;
}

inline std::string AnsiOf1251(std::wstring_view text) {
    std::string bytes;
    for (wchar_t c : text) {
        int b = 0;
        while (b < 256 && Cp1251ToUtf16(static_cast<unsigned char>(b)) != c)
            ++b;
        bytes += b < 256 ? static_cast<char>(b) : '?';
    }
    return bytes;
}

inline const AnsiText kCodePage1251{&WideOf1251, &AnsiOf1251};
