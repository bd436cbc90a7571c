#include "capture_import/capture_reader.h"

#include "capture_import/pronto_reader.h"
#include "capture_import/text_words.h"

namespace {

bool IsKey(const std::string& word) {
    return word.size() > 1 && word.back() == ':';
}

// The keys of Flipper files: a line that starts with one of them is never a named Pronto code.
bool IsFlipperKey(const std::string& name) {
    static const char* const kKeys[] = {"Filetype",   "Version", "name",     "type",    "frequency",
                                        "duty_cycle", "data",    "protocol", "address", "command"};
    for (const char* key : kKeys) {
        if (name == key)
            return true;
    }
    return false;
}

// The text after the first ':', without blanks at either end.
std::string ValueOf(std::string_view line) {
    const size_t colon = line.find(':');
    const size_t first = line.find_first_not_of(" \t", colon + 1);
    const size_t last = line.find_last_not_of(" \t\r");
    return first == std::string_view::npos || last < first
               ? ""
               : std::string(line.substr(first, last - first + 1));
}

} // namespace

void CaptureReader::FinishOthers(std::vector<ImportedButton>& out) {
    trains_.Finish(out);
    flipper_.Finish(out);
}

void CaptureReader::AddLine(std::string_view text, std::vector<ImportedButton>& out) {
    ++line_;
    // Editors on Windows often start a UTF-8 file with a byte order mark.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (line_ == 1 && text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    const std::string_view content = WithoutComment(text);
    const std::vector<std::string> words = Words(content);
    if (lircd_.InRemote() || (!words.empty() && LircdReader::StartsRemote(words))) {
        FinishOthers(out);
        lircd_.AddLine(words, line_, out);
        return;
    }
    if (words.empty())
        return;
    if (words[0] == "pulse" || words[0] == "space" || words[0] == "timeout") {
        flipper_.Finish(out);
        trains_.AddMode2Line(words, line_, out);
        return;
    }
    std::string name;
    size_t first = 0;
    const bool named = SplitNamedPronto(content, words, name, first);
    if ((named && !IsFlipperKey(name)) || (!IsKey(words[0]) && LooksLikePronto(words))) {
        FinishOthers(out);
        out.push_back(ReadProntoCode(words, named ? first : 0, named ? name : "", line_));
        return;
    }
    if (IsKey(words[0])) {
        trains_.Finish(out);
        flipper_.AddKeyLine(words[0].substr(0, words[0].size() - 1), words, ValueOf(content), line_, out);
        return;
    }
    flipper_.Finish(out);
    trains_.AddTrainLine(Words(content, true), line_, out);
}

void CaptureReader::AddOverlongLine(std::vector<ImportedButton>& out) {
    ++line_;
    FinishOthers(out);
    ImportedButton button;
    button.line = line_;
    button.skipped = "line longer than " + std::to_string(kMaxLineBytes) + " bytes: not read";
    out.push_back(button);
}

void CaptureReader::Finish(std::vector<ImportedButton>& out) {
    FinishOthers(out);
    lircd_.Finish(out);
}

bool ReadBoundedLine(std::istream& in, std::string& line, bool& overlong) {
    line.clear();
    overlong = false;
    std::streambuf* buffer = in.rdbuf();
    if (buffer == nullptr || !in.good())
        return false;
    bool any = false;
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            return any;
        }
        any = true;
        if (c == '\n')
            return true;
        if (line.size() < kMaxLineBytes)
            line.push_back(static_cast<char>(c));
        else
            overlong = true;
    }
}

CaptureText ReadCaptureText(std::string_view text) {
    CaptureText result;
    CaptureReader reader;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end - start > kMaxLineBytes)
            reader.AddOverlongLine(result.buttons);
        else
            reader.AddLine(text.substr(start, end - start), result.buttons);
        start = end + 1;
    }
    reader.Finish(result.buttons);
    result.remoteName = reader.RemoteName();
    return result;
}

CaptureText ReadCaptureStream(std::istream& in, size_t maxButtons) {
    CaptureText result;
    CaptureReader reader;
    std::string line;
    bool overlong = false;
    // Up to one button more than is kept: that one tells that the file holds more, while blank
    // lines and comments after the last button kept do not.
    while (result.buttons.size() <= maxButtons && ReadBoundedLine(in, line, overlong)) {
        if (overlong)
            reader.AddOverlongLine(result.buttons);
        else
            reader.AddLine(line, result.buttons);
    }
    reader.Finish(result.buttons);
    if (result.buttons.size() > maxButtons) {
        result.buttons.resize(maxButtons);
        result.truncated = true;
    }
    result.remoteName = reader.RemoteName();
    return result;
}

std::string ImportRemoteName(const std::string& path, const CaptureText& read) {
    if (!read.remoteName.empty())
        return read.remoteName;
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}
