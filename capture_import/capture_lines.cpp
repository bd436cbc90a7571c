#include "capture_import/capture_lines.h"

#include "capture_import/name_text.h"

namespace {

constexpr long kReplacement = 0xFFFD;

} // namespace

int CaptureLines::NextByte() {
    if (!pending_.empty()) {
        const auto byte = static_cast<unsigned char>(pending_.front());
        pending_.erase(pending_.begin());
        return byte;
    }
    std::streambuf* buffer = in_.rdbuf();
    if (buffer == nullptr)
        return -1;
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) {
        in_.setstate(std::ios::eofbit);
        return -1;
    }
    return c;
}

long CaptureLines::NextUnit() {
    if (pendingUnit_ >= 0) {
        const long unit = pendingUnit_;
        pendingUnit_ = -1;
        return unit;
    }
    const int first = NextByte();
    if (first < 0)
        return -1;
    const int second = NextByte();
    if (second < 0)
        return kReplacement; // an odd byte at the end
    return form_ == Form::Utf16Little ? first | second << 8 : first << 8 | second;
}

long CaptureLines::NextCharacter() {
    const long unit = NextUnit();
    if (unit < 0xD800 || unit > 0xDFFF)
        return unit;
    if (unit >= 0xDC00)
        return kReplacement;
    const long low = NextUnit();
    if (low >= 0xDC00 && low <= 0xDFFF)
        return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    pendingUnit_ = low;
    return kReplacement;
}

bool CaptureLines::Next(std::string& line, bool& overlong) {
    line.clear();
    overlong = false;
    if (!in_.good() && pending_.empty() && pendingUnit_ < 0)
        return false;
    if (form_ == Form::Unknown) {
        form_ = Form::Bytes;
        const int first = NextByte();
        const int second = first == 0xFF || first == 0xFE ? NextByte() : -1;
        if (first == 0xFF && second == 0xFE)
            form_ = Form::Utf16Little;
        else if (first == 0xFE && second == 0xFF)
            form_ = Form::Utf16Big;
        else
            for (const int byte : {first, second})
                if (byte >= 0)
                    pending_ += static_cast<char>(byte);
    }
    bool any = false;
    if (form_ == Form::Bytes) {
        for (int c = NextByte(); c >= 0; c = NextByte()) {
            any = true;
            if (c == '\n')
                return true;
            if (line.size() < kMaxLineBytes)
                line += static_cast<char>(c);
            else
                overlong = true;
        }
        return any;
    }
    std::string character;
    for (long c = NextCharacter(); c >= 0; c = NextCharacter()) {
        any = true;
        if (c == '\n')
            return true;
        character.clear();
        AppendUtf8(static_cast<char32_t>(c), character);
        if (line.size() + character.size() <= kMaxLineBytes)
            line += character;
        else
            overlong = true;
    }
    return any;
}
