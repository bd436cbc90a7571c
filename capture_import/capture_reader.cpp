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

// Bytes no text file of any format holds. Tab, line breaks and form feed are blanks; Ctrl+Z ends
// old DOS texts and escape starts terminal colours in a saved log, so neither tells a binary file.
bool HoldsBinary(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && !(byte >= 0x09 && byte <= 0x0D) && byte != 0x1A && byte != 0x1B)
            return true;
    }
    return false;
}

// A word that starts a line of durations: a number, signed or not.
bool IsDurationWord(const std::string& word) {
    const size_t digits = word[0] == '+' || word[0] == '-' ? 1 : 0;
    return word.size() > digits && word.find_first_not_of("0123456789", digits) == std::string::npos;
}

} // namespace

void CaptureReader::FinishOthers(std::vector<ImportedButton>& out) {
    trains_.Finish(out);
    flipper_.Finish(out);
}

void CaptureReader::AddOtherLine(std::string_view content, std::vector<ImportedButton>& out) {
    const std::vector<std::string> words = Words(content, true);
    if (!words.empty() && IsDurationWord(words[0])) {
        anyCapture_ = true;
        inFlipper_ = false;
        flipper_.Finish(out);
        trains_.AddTrainLine(words, line_, out);
        return;
    }
    if (!anyCapture_) {
        notACaptureLine_ = line_;
        return;
    }
    if (inFlipper_) {
        if (strayLines_++ == 0)
            firstStrayLine_ = line_;
        return;
    }
    // Among other trains, a line that is none is a train that could not be read.
    flipper_.Finish(out);
    trains_.AddTrainLine(words, line_, out);
}

void CaptureReader::AddLine(std::string_view text, std::vector<ImportedButton>& out) {
    ++line_;
    if (notACaptureLine_ != 0)
        return;
    // Editors on Windows often start a UTF-8 file with a byte order mark.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (line_ == 1 && text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    if (HoldsBinary(text)) {
        notACaptureLine_ = line_;
        return;
    }
    const std::string_view content = WithoutComment(text);
    const std::vector<std::string> words = Words(content);
    if (lircd_.InRemote() || (!words.empty() && LircdReader::StartsRemote(words))) {
        anyCapture_ = true;
        inFlipper_ = false;
        FinishOthers(out);
        lircd_.AddLine(words, line_, out);
        return;
    }
    if (words.empty())
        return;
    if (words[0] == "pulse" || words[0] == "space" || words[0] == "timeout") {
        anyCapture_ = true;
        inFlipper_ = false;
        flipper_.Finish(out);
        trains_.AddMode2Line(words, line_, out);
        return;
    }
    std::string name;
    size_t first = 0;
    const bool named = SplitNamedPronto(content, words, name, first);
    if ((named && !IsFlipperKey(name)) || (!IsKey(words[0]) && LooksLikePronto(words))) {
        anyCapture_ = true;
        inFlipper_ = false;
        FinishOthers(out);
        out.push_back(ReadProntoCode(words, named ? first : 0, named ? name : "", line_));
        return;
    }
    if (IsKey(words[0])) {
        anyCapture_ = true;
        inFlipper_ = true;
        trains_.Finish(out);
        flipper_.AddKeyLine(words[0].substr(0, words[0].size() - 1), words, ValueOf(content), line_, out);
        return;
    }
    AddOtherLine(content, out);
}

void CaptureReader::AddOverlongLine(std::vector<ImportedButton>& out) {
    ++line_;
    if (notACaptureLine_ != 0)
        return;
    // No capture file starts with a line of a mebibyte.
    if (!anyCapture_) {
        notACaptureLine_ = line_;
        return;
    }
    FinishOthers(out);
    ImportedButton button;
    button.line = line_;
    SetSkipped(button, Reason(SkipReasonId::LineTooLong, {std::to_string(kMaxLineBytes)}));
    out.push_back(button);
}

void CaptureReader::Finish(std::vector<ImportedButton>& out) {
    FinishOthers(out);
    lircd_.Finish(out);
}
