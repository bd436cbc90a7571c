#include "capture_import/name_text.h"

#include "capture_import/code_pages.h"

namespace {

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

bool Continues(std::string_view text, size_t at, unsigned char low = 0x80, unsigned char high = 0xBF) {
    if (at >= text.size())
        return false;
    const auto byte = static_cast<unsigned char>(text[at]);
    return byte >= low && byte <= high;
}

// Converts c with the tables or the converter; false when the code page has no such character.
bool AppendAnsi(char32_t c, const NameCodePage& codePage, std::string& out) {
    if (codePage.convert != nullptr)
        return codePage.convert(c, out);
    unsigned char byte = 0;
    if (!Utf16ToCodePage(codePage.number, c, byte))
        return false;
    out += static_cast<char>(byte);
    return true;
}

} // namespace

std::string StandIn(char32_t character) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    for (char32_t rest = character; rest != 0 || digits.size() < 4; rest >>= 4)
        digits.insert(digits.begin(), kDigits[rest & 0xF]);
    return "{U+" + digits + "}";
}

bool NextUtf8(std::string_view text, size_t& at, char32_t& character) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    bool valid = false;
    if (lead < 0x80) {
        length = 1;
        valid = true;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        valid = Continues(text, at + 1);
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        // No overlong forms (E0 80..9F) and no surrogates (ED A0..BF).
        length = 3;
        valid = Continues(text, at + 1, lead == 0xE0 ? 0xA0 : 0x80, lead == 0xED ? 0x9F : 0xBF) &&
                Continues(text, at + 2);
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        // No overlong forms (F0 80..8F) and nothing above U+10FFFF (F4 90..BF).
        length = 4;
        valid = Continues(text, at + 1, lead == 0xF0 ? 0x90 : 0x80, lead == 0xF4 ? 0x8F : 0xBF) &&
                Continues(text, at + 2) && Continues(text, at + 3);
    }
    if (!valid) {
        character = lead;
        ++at;
        return false;
    }
    static const unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t c = lead & kLeadBits[length];
    for (size_t k = 1; k < length; ++k)
        c = c << 6 | (static_cast<unsigned char>(text[at + k]) & 0x3F);
    character = c;
    at += length;
    return true;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    const int length = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    static const unsigned char kLeadMarks[] = {0, 0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLeadMarks[length] | (c >> (6 * (length - 1))));
    for (int k = length - 2; k >= 0; --k)
        out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
}

std::string StoredText(std::string_view text, const NameCodePage& codePage, bool* changed) {
    if (codePage.number == 0 && codePage.convert == nullptr)
        return std::string(text);
    std::string out;
    bool replaced = false;
    size_t at = 0;
    while (at < text.size()) {
        char32_t c = 0;
        if (NextUtf8(text, at, c)) {
            if (!IsControl(c) && c < 0x80) {
                out += static_cast<char>(c);
                continue;
            }
            if (!IsControl(c) && AppendAnsi(c, codePage, out))
                continue;
        } else {
            // Not UTF-8: an ANSI byte, kept unless the tables know it to be unassigned.
            const auto byte = static_cast<unsigned char>(c);
            const bool unassigned =
                codePage.convert == nullptr && IsControl(CodePageToUtf16(codePage.number, byte));
            if (!unassigned) {
                out += static_cast<char>(byte);
                continue;
            }
            c = CodePageToUtf16(codePage.number, byte);
        }
        out += StandIn(c);
        replaced = true;
    }
    if (changed != nullptr)
        *changed = replaced;
    return out;
}

std::string WithoutControls(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            out += StandIn(byte);
        else
            out += c;
    }
    return out;
}
