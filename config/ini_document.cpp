#include "config/ini_document.h"

#include <algorithm>

#include "config/ascii_text.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsCommentStart(char c) {
    return c == ';' || c == '#';
}

} // namespace

IniDocument::Line IniDocument::AddLine(std::string_view text) {
    Line line;
    line.start = static_cast<uint32_t>(text_.size());
    line.length = static_cast<uint32_t>(text.size());
    text_.append(text);
    const std::string_view trimmed = TrimBlanks(text);
    if (trimmed.empty() || IsCommentStart(trimmed.front()))
        return line;
    if (trimmed.front() == '[') {
        const size_t close = text.find(']');
        if (close != std::string_view::npos) {
            line.kind = Kind::Section;
            line.split = static_cast<uint32_t>(close);
        }
        return line;
    }
    const size_t eq = text.find('=');
    if (eq == std::string_view::npos || TrimBlanks(text.substr(0, eq)).empty())
        return line;
    line.kind = Kind::Key;
    line.split = static_cast<uint32_t>(eq);
    return line;
}

std::string_view IniDocument::TextOf(const Line& line) const {
    return std::string_view(text_).substr(line.start, line.length);
}

std::string_view IniDocument::NameOf(const Line& line) const {
    const std::string_view text = TextOf(line);
    switch (line.kind) {
    case Kind::Section: {
        const size_t open = text.find('[') + 1;
        return TrimBlanks(text.substr(open, line.split - open));
    }
    case Kind::Key:
        return TrimBlanks(text.substr(0, line.split));
    default:
        return {};
    }
}

std::string_view IniDocument::ValueOf(const Line& line) const {
    return line.kind == Kind::Key ? TrimBlanks(TextOf(line).substr(line.split + 1)) : std::string_view();
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        doc.bom_ = true;
        text.remove_prefix(kUtf8Bom.size());
    }
    // Sized once: a junk file of a million empty lines must not pass through every doubling.
    doc.text_.reserve(text.size());
    doc.lines_.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) +
                       static_cast<size_t>(std::count(text.begin(), text.end(), '\r')) + 1);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        doc.lines_.push_back(doc.AddLine(text.substr(start, end - start)));
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
        size += line.length + 2;
    std::string out;
    out.reserve(size);
    if (bom_)
        out.append(kUtf8Bom);
    for (const Line& line : lines_) {
        out.append(TextOf(line));
        out.append("\r\n");
    }
    return out;
}

size_t IniDocument::FindKey(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Section)
            inSection = SameIgnoringAsciiCase(NameOf(line), section);
        else if (inSection && line.kind == Kind::Key && SameIgnoringAsciiCase(NameOf(line), key))
            return i;
    }
    return std::string::npos;
}

bool IniDocument::HasSection(std::string_view section) const {
    for (const Line& line : lines_) {
        if (line.kind == Kind::Section && SameIgnoringAsciiCase(NameOf(line), section))
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
    return std::string(i == std::string::npos ? fallback : ValueOf(lines_[i]));
}

bool IniDocument::SameSectionName(std::string_view a, std::string_view b) {
    return SameIgnoringAsciiCase(a, b);
}

std::vector<IniEntry> IniDocument::ReadSection(std::string_view section) const {
    std::vector<IniEntry> entries;
    VisitSection(section, [&entries](const IniEntry& entry) { entries.push_back(entry); });
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

    std::string text(TrimBlanks(key));
    text += '=';
    text += cleanValue;
    const size_t existing = FindKey(section, key);
    if (existing != std::string::npos) {
        // The line keeps its own spelling of the key.
        text.replace(0, text.find('='), NameOf(lines_[existing]));
        lines_[existing] = AddLine(text);
        return true;
    }
    const Line line = AddLine(text);

    // Insert after the last key line of the first occurrence of the section, or right after its
    // header when it has no keys yet; comments and blank lines that follow stay below.
    size_t insertAt = std::string::npos;
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& l = lines_[i];
        if (l.kind == Kind::Section) {
            if (insertAt != std::string::npos)
                break;
            inSection = SameIgnoringAsciiCase(NameOf(l), section);
            if (inSection)
                insertAt = i + 1;
        } else if (inSection && l.kind == Kind::Key) {
            insertAt = i + 1;
        }
    }
    if (insertAt == std::string::npos) {
        std::string header = "[";
        header += TrimBlanks(section);
        header += ']';
        lines_.push_back(AddLine(header));
        lines_.push_back(line);
    } else {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
    }
    return true;
}

bool IniDocument::EraseSection(std::string_view section) {
    bool erasing = false;
    const auto erased = std::remove_if(lines_.begin(), lines_.end(), [&](const Line& line) {
        if (line.kind == Kind::Section)
            erasing = SameIgnoringAsciiCase(NameOf(line), section);
        return erasing;
    });
    const bool any = erased != lines_.end();
    lines_.erase(erased, lines_.end());
    return any;
}
