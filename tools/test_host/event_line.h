#pragma once
// The test host's output: one event per line, a kind word followed by key=value fields.
//   msg t=12.345 n=1029 w=0x0012FA40 l=0x00000000 how=direct text="Invalid params: …"
// Values are bare words (no spaces, quotes or backslashes) or quoted texts. In a quoted text, \" is
// a quote, \\ a backslash and \xNN any byte outside printable ASCII, so every byte survives and a
// line never breaks. Keys are unique within a line.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

std::string QuoteText(std::string_view text);

class EventLine {
  public:
    explicit EventLine(std::string_view kind) : text_(kind) {}
    EventLine& Word(std::string_view key, std::string_view value);
    EventLine& Text(std::string_view key, std::string_view value);
    EventLine& Int(std::string_view key, int64_t value);
    EventLine& Hex(std::string_view key, uint32_t value); // 0x and eight upper-case digits
    const std::string& str() const { return text_; }

  private:
    std::string text_;
};

struct ParsedLine {
    std::string kind;
    std::vector<std::pair<std::string, std::string>> fields; // texts unquoted

    bool Has(std::string_view key) const;
    std::string Get(std::string_view key) const; // empty when absent
    // Decimal or 0x hexadecimal, as a 64-bit signed value; nothing when absent or not a number.
    std::optional<int64_t> Number(std::string_view key) const;
    // A decimal fraction such as t=12.345; nothing when absent or not a number.
    std::optional<double> Real(std::string_view key) const;
};

// False for a line that does not follow the format (the reason goes to *error).
bool ParseEventLine(std::string_view line, ParsedLine* parsed, std::string* error);
