#include "capture_import/text_words.h"

#include "config/ascii_text.h"

namespace {

bool IsBlank(char c, bool commas) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || (commas && c == ',');
}

bool ParseDigits(std::string_view digits, int base, uint64_t max, uint64_t& value) {
    if (digits.empty())
        return false;
    uint64_t result = 0;
    for (char c : digits) {
        const int digit = AsciiHexDigitValue(c);
        if (digit < 0 || digit >= base)
            return false;
        if (result > (max - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base))
            return false;
        result = result * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    value = result;
    return true;
}

} // namespace

std::vector<std::string> Words(std::string_view text, bool commas) {
    std::vector<std::string> words;
    size_t k = 0;
    while (k < text.size()) {
        while (k < text.size() && IsBlank(text[k], commas))
            ++k;
        const size_t start = k;
        while (k < text.size() && !IsBlank(text[k], commas))
            ++k;
        if (k > start)
            words.emplace_back(text.substr(start, k - start));
    }
    return words;
}

std::string_view WithoutComment(std::string_view text) {
    for (size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '#' && (k == 0 || IsBlank(text[k - 1], false)))
            return text.substr(0, k);
    }
    return text;
}

bool ParseCNumber(std::string_view word, uint64_t max, uint64_t& value) {
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X'))
        return ParseDigits(word.substr(2), 16, max, value);
    if (word.size() > 1 && word[0] == '0')
        return ParseDigits(word.substr(1), 8, max, value);
    return ParseDigits(word, 10, max, value);
}

bool ParseHexWord(std::string_view word, uint64_t& value) {
    return word.size() <= 16 && ParseDigits(word, 16, UINT64_MAX, value);
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

std::string HexText(uint64_t value) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return "0x" + digits;
}

bool ParseDuration(std::string_view word, DurationSigns signs, size_t position, int32_t& value,
                   SkipReason& error) {
    const bool signed_ = !word.empty() && (word[0] == '+' || word[0] == '-');
    const std::string_view digits = word.substr(signed_ ? 1 : 0);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        error = Reason(SkipReasonId::NotADuration, {ReasonValue(word)});
        return false;
    }
    if (signed_ && (signs == DurationSigns::Refused || (word[0] == '-') != (position % 2 == 1))) {
        error = Reason(word[0] == '-' ? SkipReasonId::NegativeDuration : SkipReasonId::PauseMarkedAsPulse,
                       {ReasonValue(word)});
        return false;
    }
    uint64_t parsed = 0;
    if (!ParseDigits(digits, 10, INT32_MAX, parsed)) {
        error = Reason(SkipReasonId::DurationOutOfRange, {ReasonValue(word)});
        return false;
    }
    value = static_cast<int32_t>(parsed);
    return true;
}
