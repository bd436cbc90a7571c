#include "config/ini_document.h"

#include "config/ascii_text.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsCommentStart(char c) {
    return c == ';' || c == '#';
}

} // namespace

IniDocument::Line IniDocument::ParseLine(std::string_view text) {
    Line line;
    line.text = std::string(text);
    const std::string_view trimmed = TrimBlanks(text);
    if (trimmed.empty() || IsCommentStart(trimmed.front()))
        return line;
    if (trimmed.front() == '[') {
        const size_t close = trimmed.find(']');
        if (close != std::string_view::npos) {
            line.kind = Kind::Section;
            line.name = std::string(TrimBlanks(trimmed.substr(1, close - 1)));
        }
        return line;
    }
    const size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos)
        return line;
    const std::string_view key = TrimBlanks(trimmed.substr(0, eq));
    if (key.empty())
        return line;
    line.kind = Kind::Key;
    line.name = std::string(key);
    line.value = std::string(TrimBlanks(trimmed.substr(eq + 1)));
    return line;
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        doc.bom_ = true;
        text.remove_prefix(kUtf8Bom.size());
    }
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        doc.lines_.push_back(ParseLine(text.substr(start, end - start)));
        // CRLF, LF or a lone CR ends the line.
        if (end < text.size()) {
            const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
            end += crlf ? 2 : 1;
        }
        start = end;
    }
    return doc;
}

std::string IniDocument::Serialize() const {
    size_t size = bom_ ? kUtf8Bom.size() : 0;
    for (const Line& line : lines_)
        size += line.text.size() + 2;
    std::string out;
    out.reserve(size);
    if (bom_)
        out.append(kUtf8Bom);
    for (const Line& line : lines_) {
        out.append(line.text);
        out.append("\r\n");
    }
    return out;
}

size_t IniDocument::FindKey(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Section)
            inSection = SameIgnoringAsciiCase(line.name, section);
        else if (inSection && line.kind == Kind::Key && SameIgnoringAsciiCase(line.name, key))
            return i;
    }
    return std::string::npos;
}

bool IniDocument::HasSection(std::string_view section) const {
    for (const Line& line : lines_) {
        if (line.kind == Kind::Section && SameIgnoringAsciiCase(line.name, section))
            return true;
    }
    return false;
}

bool IniDocument::HasKey(std::string_view section, std::string_view key) const {
    return FindKey(section, key) != std::string::npos;
}

std::string IniDocument::GetString(std::string_view section, std::string_view key,
                                   std::string_view fallback) const {
    const size_t i = FindKey(section, key);
    return std::string(i == std::string::npos ? fallback : std::string_view(lines_[i].value));
}

std::vector<IniEntry> IniDocument::ReadSection(std::string_view section) const {
    std::vector<IniEntry> entries;
    bool inSection = false;
    for (const Line& line : lines_) {
        if (line.kind == Kind::Section)
            inSection = SameIgnoringAsciiCase(line.name, section);
        else if (inSection && line.kind == Kind::Key)
            entries.push_back(IniEntry{line.name, line.value});
    }
    return entries;
}

bool IniDocument::IsStorableKey(std::string_view key) {
    const std::string_view trimmed = TrimBlanks(key);
    if (trimmed.empty() || trimmed.front() == '[' || IsCommentStart(trimmed.front()))
        return false;
    return trimmed.find_first_of("=\r\n") == std::string_view::npos;
}

bool IniDocument::SetString(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsStorableKey(key))
        return false;
    std::string cleanValue(TrimBlanks(value));
    for (char& c : cleanValue) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }

    const size_t existing = FindKey(section, key);
    if (existing != std::string::npos) {
        Line& line = lines_[existing];
        line.value = std::move(cleanValue);
        line.text = line.name + "=" + line.value;
        return true;
    }

    Line line;
    line.kind = Kind::Key;
    line.name = std::string(TrimBlanks(key));
    line.value = std::move(cleanValue);
    line.text = line.name + "=" + line.value;

    // Insert after the last key line of the first occurrence of the section, or right after its
    // header when it has no keys yet; comments and blank lines that follow stay below.
    size_t insertAt = std::string::npos;
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& l = lines_[i];
        if (l.kind == Kind::Section) {
            if (insertAt != std::string::npos)
                break;
            inSection = SameIgnoringAsciiCase(l.name, section);
            if (inSection)
                insertAt = i + 1;
        } else if (inSection && l.kind == Kind::Key) {
            insertAt = i + 1;
        }
    }
    if (insertAt == std::string::npos) {
        Line header;
        header.kind = Kind::Section;
        header.name = std::string(TrimBlanks(section));
        header.text = "[" + header.name + "]";
        lines_.push_back(std::move(header));
        lines_.push_back(std::move(line));
    } else {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
    }
    return true;
}

bool IniDocument::EraseSection(std::string_view section) {
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    bool erasing = false;
    for (Line& line : lines_) {
        if (line.kind == Kind::Section)
            erasing = SameIgnoringAsciiCase(line.name, section);
        if (!erasing)
            kept.push_back(std::move(line));
    }
    const bool erased = kept.size() != lines_.size();
    lines_ = std::move(kept);
    return erased;
}
