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
#include <cstdint>
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
    // Calls visit(IniEntry) for every key line of the section, in file order, without collecting
    // them first.
    template <typename Visit> void VisitSection(std::string_view section, Visit visit) const {
        bool inSection = false;
        for (const Line& line : lines_) {
            if (line.kind == Kind::Section)
                inSection = SameSectionName(NameOf(line), section);
            else if (inSection && line.kind == Kind::Key)
                visit(IniEntry{NameOf(line), ValueOf(line)});
        }
    }

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
    enum class Kind : uint8_t { Other, Section, Key };
    // A line as offsets into text_, 16 bytes however long it is: a junk file of millions of short
    // lines must not cost the host's address space several times its size. Names and values are
    // cut out of the line when they are asked for.
    struct Line {
        uint32_t start = 0;  // first byte of the line in text_
        uint32_t length = 0; // without the line end
        uint32_t split = 0;  // Key: offset of the first '='; Section: offset of the first ']'
        Kind kind = Kind::Other;
    };

    static bool SameSectionName(std::string_view a, std::string_view b);
    std::string_view TextOf(const Line& line) const;
    // Section or key name, trimmed; empty for other lines.
    std::string_view NameOf(const Line& line) const;
    // Trimmed value of a key line.
    std::string_view ValueOf(const Line& line) const;
    // A line for text, which is appended to text_.
    Line AddLine(std::string_view text);
    // Index of the first key line matching section and key; npos when there is none.
    size_t FindKey(std::string_view section, std::string_view key) const;

    bool bom_ = false; // a UTF-8 byte-order mark stood before the first line
    // The bytes of every line: the parsed text, then the lines that edits wrote (an edited line's
    // old bytes stay behind unused until the document is gone).
    std::string text_;
    std::vector<Line> lines_;
};
