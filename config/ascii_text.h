#pragma once
// Byte-wise text helpers for the configuration files. They fold only ASCII letters: texts are ANSI
// bytes in whatever code page the user has, and the C library's tolower would follow the host
// process's locale, so the same file could match differently in different hosts.
#include <string>
#include <string_view>

inline char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
inline char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

inline std::string AsciiUpperCopy(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = AsciiUpper(c);
    return out;
}

inline std::string AsciiLowerCopy(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = AsciiLower(c);
    return out;
}

// The value of a hexadecimal digit of either case; -1 for any other byte.
inline int AsciiHexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Blanks and control characters: every byte up to and including the space.
inline bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

inline std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlankOrControl(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlankOrControl(s.back()))
        s.remove_suffix(1);
    return s;
}
