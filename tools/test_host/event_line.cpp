#include "tools/test_host/event_line.h"

#include <cstdio>
#include <cstdlib>

#include "tools/common/number_text.h"

namespace {

bool IsBareByte(unsigned char c) {
    return c > ' ' && c < 0x7F && c != '"' && c != '\\' && c != '=';
}

bool IsBare(std::string_view value) {
    if (value.empty())
        return false;
    for (unsigned char c : value)
        if (!IsBareByte(c))
            return false;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Reads a quoted text starting at line[*pos] == '"'; leaves *pos after the closing quote.
bool ReadQuoted(std::string_view line, size_t* pos, std::string* out, std::string* error) {
    size_t i = *pos + 1;
    while (i < line.size() && line[i] != '"') {
        if (line[i] != '\\') {
            out->push_back(line[i++]);
            continue;
        }
        if (i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
            out->push_back(line[i + 1]);
            i += 2;
        } else if (i + 3 < line.size() && line[i + 1] == 'x' && HexDigit(line[i + 2]) >= 0 &&
                   HexDigit(line[i + 3]) >= 0) {
            out->push_back(static_cast<char>(HexDigit(line[i + 2]) * 16 + HexDigit(line[i + 3])));
            i += 4;
        } else {
            *error = "bad escape at column " + std::to_string(i);
            return false;
        }
    }
    if (i >= line.size()) {
        *error = "unterminated text";
        return false;
    }
    *pos = i + 1;
    return true;
}

} // namespace

std::string QuoteText(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c < ' ' || c >= 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    out.push_back('"');
    return out;
}

EventLine& EventLine::Word(std::string_view key, std::string_view value) {
    if (!IsBare(value))
        return Text(key, value);
    text_.append(" ").append(key).append("=").append(value);
    return *this;
}

EventLine& EventLine::Text(std::string_view key, std::string_view value) {
    text_.append(" ").append(key).append("=").append(QuoteText(value));
    return *this;
}

EventLine& EventLine::Int(std::string_view key, int64_t value) {
    return Word(key, std::to_string(value));
}

EventLine& EventLine::Hex(std::string_view key, uint32_t value) {
    char digits[11];
    std::snprintf(digits, sizeof digits, "0x%08X", static_cast<unsigned>(value));
    return Word(key, digits);
}

bool ParsedLine::Has(std::string_view key) const {
    for (const auto& field : fields)
        if (field.first == key)
            return true;
    return false;
}

std::string ParsedLine::Get(std::string_view key) const {
    for (const auto& field : fields)
        if (field.first == key)
            return field.second;
    return {};
}

std::optional<int64_t> ParsedLine::Number(std::string_view key) const {
    if (!Has(key))
        return std::nullopt;
    int64_t value = 0;
    if (!ParseInteger(Get(key), &value))
        return std::nullopt;
    return value;
}

std::optional<double> ParsedLine::Real(std::string_view key) const {
    std::string text = Get(key);
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size())
        return std::nullopt;
    return value;
}

bool ParseEventLine(std::string_view line, ParsedLine* parsed, std::string* error) {
    *parsed = ParsedLine{};
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    size_t pos = line.find(' ');
    parsed->kind = std::string(line.substr(0, pos));
    if (!IsBare(parsed->kind)) {
        *error = "no kind word";
        return false;
    }
    while (pos < line.size()) {
        ++pos; // the single space before each field
        size_t equals = line.find('=', pos);
        std::string_view key = line.substr(pos, equals == std::string_view::npos ? equals : equals - pos);
        if (equals == std::string_view::npos || !IsBare(key)) {
            *error = "bad key at column " + std::to_string(pos);
            return false;
        }
        pos = equals + 1;
        std::string value;
        if (pos < line.size() && line[pos] == '"') {
            if (!ReadQuoted(line, &pos, &value, error))
                return false;
        } else {
            size_t end = line.find(' ', pos);
            value = std::string(line.substr(pos, end == std::string_view::npos ? end : end - pos));
            if (!IsBare(value)) {
                *error = "bad value for " + std::string(key);
                return false;
            }
            pos = end == std::string_view::npos ? line.size() : end;
        }
        if (pos < line.size() && line[pos] != ' ') {
            *error = "no space after " + std::string(key);
            return false;
        }
        if (parsed->Has(key)) {
            *error = "key twice: " + std::string(key);
            return false;
        }
        parsed->fields.emplace_back(key, std::move(value));
    }
    return true;
}
