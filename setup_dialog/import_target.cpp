#include "setup_dialog/import_target.h"

#include <algorithm>

#include "config/ascii_text.h"
#include "config/remote_files.h"
#include "setup_dialog/dialog_keys.h"
#include "setup_dialog/dialog_texts.h"
#include "setup_dialog/file_operations.h"

namespace {

bool IsPathSeparator(wchar_t c) {
    return c == L'\\' || c == L'/' || c == L':';
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

bool IsLetterOrDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c >= 0x00C0;
}

std::wstring Trimmed(std::wstring_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return std::wstring(text.substr(begin, end - begin));
}

// The bytes of text when the code page stores it as it stands; "" otherwise.
std::string Storable(std::wstring_view text, const AnsiText& ansi) {
    if (text.empty())
        return {};
    std::string bytes = ansi.toAnsi(text);
    return ansi.toWide(bytes) == text ? bytes : std::string();
}

// True when the two remotes are saved into one file. Windows compares file names without regard to
// case in every alphabet, not only in ASCII: "Кухня" and "кухня" are one file there.
bool SameFile(std::string_view a, std::string_view b, const AnsiText& ansi) {
    if (SameRemoteFile(a, b))
        return true;
    const std::wstring x = ansi.toWide(RemoteFileName("", a));
    const std::wstring y = ansi.toWide(RemoteFileName("", b));
    return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), SameLetter);
}

} // namespace

std::wstring FileNameOf(std::wstring_view path) {
    size_t start = path.size();
    while (start > 0 && !IsPathSeparator(path[start - 1]))
        --start;
    return std::wstring(path.substr(start));
}

std::wstring FileStem(std::wstring_view path) {
    std::wstring name = FileNameOf(path);
    const size_t dot = name.rfind(L'.');
    // ".ir" alone is a name, not an extension.
    if (dot != std::wstring::npos && dot > 0)
        name.resize(dot);
    return name;
}

std::string ProposedRemoteName(std::wstring_view name, const AnsiText& ansi) {
    const std::wstring trimmed = Trimmed(name);
    if (std::string whole = Storable(trimmed, ansi); !whole.empty())
        return whole;
    // What the code page can hold of it, each run of other characters dropped, blanks kept single.
    std::wstring kept;
    bool meaningful = false;
    for (wchar_t c : trimmed) {
        if (Storable(std::wstring_view(&c, 1), ansi).empty())
            continue;
        if (IsBlank(c) && (kept.empty() || IsBlank(kept.back())))
            continue;
        kept += c;
        meaningful = meaningful || IsLetterOrDigit(c);
    }
    if (meaningful)
        return Storable(Trimmed(kept), ansi);
    for (const wchar_t* fallback : dialog_texts::kImportFallbackRemotes)
        if (std::string bytes = Storable(fallback, ansi); !bytes.empty())
            return bytes;
    return "Remote";
}

ImportChoice ProposeImport(const CaptureText& read, std::wstring_view path,
                           const std::vector<KeyListRow>& rows, const AnsiText& ansi) {
    ImportChoice choice;
    choice.fileName = FileNameOf(path);
    ImportTargetLine line;
    line.buttons = read.buttons.size();
    const std::string_view named = TrimBlanks(read.remoteName);
    if (!named.empty()) {
        // Bytes of the file, kept as they are: they are stored in the code page as they come.
        line.source = ansi.toWide(named);
        line.target = std::string(named);
    } else {
        line.target = ProposedRemoteName(FileStem(path), ansi);
    }
    choice.lines.push_back(std::move(line));

    for (const KeyListRow& row : rows) {
        const bool known =
            std::any_of(choice.remotes.begin(), choice.remotes.end(),
                        [&](const std::string& r) { return SameFile(r, row.remoteName, ansi); });
        if (!known)
            choice.remotes.push_back(row.remoteName);
    }
    std::sort(choice.remotes.begin(), choice.remotes.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        });
    });
    return choice;
}

TargetCheck CheckTarget(std::wstring_view typed, const std::vector<KeyListRow>& rows, const AnsiText& ansi) {
    TargetCheck check;
    const std::wstring trimmed = Trimmed(typed);
    if (trimmed.empty())
        return check;
    check.name = Storable(trimmed, ansi);
    if (check.name.empty()) {
        check.kind = TargetCheck::Kind::NotInCodePage;
        return check;
    }
    check.kind = TargetCheck::Kind::New;
    for (const KeyListRow& row : rows) {
        if (!SameFile(row.remoteName, check.name, ansi))
            continue;
        if (check.kind == TargetCheck::Kind::New) {
            // The buttons join the remote as the list has it, not a second spelling of it.
            check.kind = TargetCheck::Kind::Existing;
            check.name = row.remoteName;
        }
        ++check.keys;
    }
    return check;
}

bool Accepted(const TargetCheck& check) {
    return check.kind == TargetCheck::Kind::New || check.kind == TargetCheck::Kind::Existing;
}

std::wstring TargetNote(const TargetCheck& check, ShowBytes show) {
    using namespace dialog_texts;
    switch (check.kind) {
    case TargetCheck::Kind::Empty:
        return kTargetEmpty;
    case TargetCheck::Kind::NotInCodePage:
        return kTargetNotInCodePage;
    case TargetCheck::Kind::New:
        return kTargetNew;
    case TargetCheck::Kind::Existing:
        return FillIn(kTargetExisting, {show(check.name), std::to_wstring(check.keys)});
    }
    return {};
}
