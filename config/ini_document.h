#pragma once
// An INI text held in memory, byte for byte: parsed from a string, edited in place, serialised
// back to a string. No file access here (see FileSystem), so every rule is testable on strings.
//
// Layout rules:
//  - a line "[name]" starts a section; "key=value" lines belong to the last section above them;
//  - a key line is split at its first '='; key and value are trimmed of blanks and control
//    characters; section and key names match without regard to ASCII letter case;
//  - lines starting with ';' or '#', blank lines, lines without '=' or with nothing before it,
//    and key lines above the first section are kept as they stand but never read;
//  - a section name that occurs twice is read as one section (lines in file order);
//  - a key that occurs twice reads as its first occurrence; a section read returns both;
//  - LF, CRLF and lone CR end a line; Serialize writes CRLF after every line.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct IniEntry {
    std::string_view key;
    std::string_view value;
};

class IniDocument {
  public:
    IniDocument() = default;
    static IniDocument Parse(std::string_view text);

    std::string Serialize() const;

    bool HasSection(std::string_view section) const;
    bool HasKey(std::string_view section, std::string_view key) const;
    // Value of the first occurrence of the key, or fallback when the key is absent.
    std::string GetString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Every key line of the section, in file order; the views live until the next edit.
    std::vector<IniEntry> ReadSection(std::string_view section) const;

    // Replaces the value of the first occurrence in place, or appends the key to the section
    // (after its last key line), or appends the section at the end. Line breaks in the value
    // become blanks. Returns false, changing nothing, for a key that would not read back as
    // itself: empty after trimming, or holding '=' or a line break, or starting with '[', ';'
    // or '#'.
    bool SetString(std::string_view section, std::string_view key, std::string_view value);
    // Removes every occurrence of the section with all its lines; true when there was one.
    bool EraseSection(std::string_view section);

    static bool IsStorableKey(std::string_view key);

  private:
    enum class Kind { Other, Section, Key };
    struct Line {
        Kind kind = Kind::Other;
        std::string text;  // the line as read (without its line end); rebuilt when a key is set
        std::string name;  // section or key name, trimmed
        std::string value; // trimmed value of a key line
    };

    // Index of the first key line matching section and key; npos when there is none.
    size_t FindKey(std::string_view section, std::string_view key) const;
    static Line ParseLine(std::string_view text);

    bool bom_ = false; // a UTF-8 byte-order mark stood before the first line
    std::vector<Line> lines_;
};
