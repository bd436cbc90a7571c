#include "capture_import/flipper_reader.h"

#include "capture_import/protocol_encoders.h"
#include "capture_import/text_words.h"

namespace {

// "07 00 00 00": up to four bytes of two hexadecimal digits, the least significant first.
bool ParseBytes(const std::vector<std::string>& words, uint32_t& value) {
    if (words.size() < 2 || words.size() > 5)
        return false;
    value = 0;
    for (size_t k = 1; k < words.size(); ++k) {
        uint64_t byte = 0;
        if (words[k].size() != 2 || !ParseHexWord(words[k], byte))
            return false;
        value |= static_cast<uint32_t>(byte) << (8 * (k - 1));
    }
    return true;
}

} // namespace

void FlipperReader::Skip(SkipReason reason, int line, std::vector<ImportedButton>& out) {
    ImportedButton button;
    button.line = line;
    button.name = name_;
    SetSkipped(button, std::move(reason));
    out.push_back(button);
    complete_ = true;
}

void FlipperReader::Finish(std::vector<ImportedButton>& out) {
    if (complete_)
        return;
    if (type_.empty())
        Skip(Reason(SkipReasonId::NoSignalType, {ReasonValue(name_)}), nameLine_, out);
    else if (type_ == "raw")
        Skip(Reason(SkipReasonId::RawWithoutData), nameLine_, out);
    else
        Skip(Reason(SkipReasonId::ParsedWithout, {protocol_.empty() ? "protocol"
                                                  : !hasAddress_    ? "address"
                                                                    : "command"}),
             nameLine_, out);
}

void FlipperReader::AddKeyLine(const std::string& key, const std::vector<std::string>& words,
                               const std::string& value, int line, std::vector<ImportedButton>& out) {
    if (key == "name") {
        Finish(out);
        name_ = value;
        nameLine_ = line;
        type_.clear();
        protocol_.clear();
        hasAddress_ = hasCommand_ = false;
        complete_ = false;
        return;
    }
    if (key == "type") {
        type_ = words.size() == 2 ? words[1] : "";
        if (type_ != "raw" && type_ != "parsed") {
            type_.clear();
            Skip(Reason(SkipReasonId::UnknownSignalType, {ReasonValue(value)}), line, out);
        }
        return;
    }
    if (key == "data") {
        if (type_ != "raw") {
            Skip(Reason(SkipReasonId::DataOutsideRaw), line, out);
            return;
        }
        ImportedButton button;
        button.line = line;
        button.name = name_;
        for (size_t k = 1; k < words.size(); ++k) {
            int32_t duration = 0;
            SkipReason error;
            if (!ParseDuration(words[k], DurationSigns::Refused, 0, duration, error)) {
                Skip(error, line, out);
                return;
            }
            if (button.durations.size() < kMaxImportedDurations)
                button.durations.push_back(duration);
        }
        out.push_back(button);
        complete_ = true;
        return;
    }
    if (key == "protocol" || key == "address" || key == "command") {
        AddParsedField(key, words, line, out);
        return;
    }
    // The file's header and the carrier of a raw signal.
    static const char* const kIgnored[] = {"Filetype", "Version", "frequency", "duty_cycle"};
    for (const char* ignored : kIgnored) {
        if (key == ignored)
            return;
    }
    Skip(Reason(SkipReasonId::UnknownKey, {ReasonValue(key)}), line, out);
}

void FlipperReader::AddParsedField(const std::string& key, const std::vector<std::string>& words, int line,
                                   std::vector<ImportedButton>& out) {
    if (type_ != "parsed" || complete_) {
        Skip(Reason(SkipReasonId::FieldOutsideParsed, {key}), line, out);
        return;
    }
    if (key == "protocol") {
        protocol_ = words.size() == 2 ? words[1] : "";
    } else {
        uint32_t& field = key == "address" ? address_ : command_;
        if (!ParseBytes(words, field)) {
            Skip(Reason(SkipReasonId::FieldNotBytes, {key}), line, out);
            return;
        }
        (key == "address" ? hasAddress_ : hasCommand_) = true;
    }
    if (protocol_.empty() || !hasAddress_ || !hasCommand_)
        return;
    ImportedButton button;
    button.line = nameLine_;
    button.name = name_;
    std::string protocol = protocol_;
    uint32_t command = command_;
    AsExtendedRc5(protocol, command);
    SkipReason error;
    if (!EncodeProtocolFrame(protocol, address_, command, button.durations, error))
        SetSkipped(button, std::move(error));
    else if (ProtocolHasToggle(protocol))
        EncodeProtocolFrame(protocol, address_, command, button.toggled, error, true);
    out.push_back(button);
    complete_ = true;
}
