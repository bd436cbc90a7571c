#include "capture_import/lircd_reader.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "capture_import/text_words.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool Is(const std::vector<std::string>& words, const char* first, const char* second) {
    return words.size() >= 2 && Lower(words[0]) == first && Lower(words[1]) == second;
}

// Parameters that do not change the first frame: tolerances, gaps, repeats, the carrier, the
// driver, receiving masks.
const char* const kNoEffect[] = {"eps",         "aeps",
                                 "gap",         "repeat_gap",
                                 "repeat",      "toggle_mask",
                                 "ignore_mask", "repeat_mask",
                                 "manual_sort", "suppress_repeat",
                                 "min_repeat",  "min_code_repeat",
                                 "frequency",   "duty_cycle",
                                 "driver",      "baud",
                                 "serial_mode", "dyncodes_name",
                                 "two",         "three"};

// Codings LIRC knows; the ones this reader cannot express are refused by CheckLircRemote.
const char* const kCodings[] = {"SPACE_ENC", "SPACE_FIRST", "RC5", "SHIFT_ENC", "RC6", "RCMM",
                                "GOLDSTAR",  "GRUNDIG",     "BO",  "SERIAL",    "XMP", "RAW_CODES"};
// Flags that only change repeats, or how LIRC stores codes.
const char* const kModifiers[] = {"REVERSE",      "NO_HEAD_REP",   "NO_FOOT_REP",
                                  "CONST_LENGTH", "REPEAT_HEADER", "COMPAT_REVERSE"};

template <size_t N> bool Among(const std::string& word, const char* const (&list)[N]) {
    for (const char* item : list) {
        if (word == item)
            return true;
    }
    return false;
}

} // namespace

bool LircdReader::StartsRemote(const std::vector<std::string>& words) {
    return Is(words, "begin", "remote");
}

void LircdReader::AddLine(const std::vector<std::string>& words, int line, std::vector<ImportedButton>& out) {
    if (words.empty())
        return;
    if (StartsRemote(words)) {
        Finish(out);
        section_ = Section::Parameters;
        remote_ = LircRemote{};
        hasFirstCode_ = false;
        names_.emplace_back();
        return;
    }
    if (Is(words, "end", "remote")) {
        Finish(out);
        section_ = Section::None;
        return;
    }
    if (Is(words, "begin", "codes") || Is(words, "begin", "raw_codes")) {
        // Raw codes are durations: the parameters of the coding do not matter to them.
        Finish(out);
        section_ = Lower(words[1]) == "codes" ? Section::Codes : Section::RawCodes;
        if (section_ == Section::Codes)
            CheckLircRemote(remote_);
        return;
    }
    if (Is(words, "end", "codes") || Is(words, "end", "raw_codes")) {
        Finish(out);
        section_ = Section::Parameters;
        return;
    }
    switch (section_) {
    case Section::Parameters:
        AddParameter(words);
        break;
    case Section::Codes:
        AddCode(words, line, out);
        break;
    case Section::RawCodes:
        AddRawLine(words, line, out);
        break;
    case Section::None:
        break;
    }
}

void LircdReader::Finish(std::vector<ImportedButton>& out) {
    if (raw_.line == 0)
        return;
    if (raw_.reason.empty() && raw_.durations.empty())
        raw_.reason = Reason(SkipReasonId::LircRawWithoutDurations);
    // LIRC sends a raw code up to its last pulse.
    if (raw_.durations.size() % 2 == 0 && !raw_.durations.empty())
        raw_.durations.pop_back();
    if (!raw_.reason.empty())
        SetSkipped(raw_, raw_.reason);
    out.push_back(raw_);
    raw_ = ImportedButton{};
}

void LircdReader::AddParameter(const std::vector<std::string>& words) {
    const std::string key = Lower(words[0]);
    const auto fail = [&](SkipReasonId id, std::vector<std::string> values) {
        if (remote_.problem.empty()) {
            values.insert(values.begin(), ReasonValue(remote_.name));
            remote_.problem = Reason(id, std::move(values));
        }
    };
    if (key == "name") {
        remote_.name = words.size() > 1 ? words[1] : "";
        if (firstName_.empty())
            firstName_ = remote_.name;
        if (!names_.empty())
            names_.back() = remote_.name;
        return;
    }
    if (key == "flags") {
        std::string joined;
        for (size_t k = 1; k < words.size(); ++k)
            joined += words[k];
        size_t start = 0;
        while (start <= joined.size()) {
            const size_t bar = std::min(joined.find('|', start), joined.size());
            const std::string flag = UpperAscii(joined.substr(start, bar - start));
            if (Among(flag, kCodings)) {
                if (!remote_.coding.empty() && flag != "RAW_CODES")
                    fail(SkipReasonId::LircSeveralCodings, {});
                if (flag != "RAW_CODES")
                    remote_.coding = flag;
            } else if (flag == "REVERSE") {
                remote_.reverse = true;
            } else if (!Among(flag, kModifiers)) {
                fail(SkipReasonId::LircUnknownFlag, {ReasonValue(flag)});
            }
            start = bar + 1;
        }
        return;
    }
    if (Among(key, kNoEffect))
        return;
    // Every other parameter is numbers: one, or a pulse and a space.
    uint64_t values[2] = {0, 0};
    const size_t count = words.size() - 1;
    const bool pair =
        key == "header" || key == "one" || key == "zero" || key == "foot" || key == "pre" || key == "post";
    const bool data =
        key == "pre_data" || key == "post_data" || key == "toggle_bit_mask" || key == "rc6_mask";
    const uint64_t max = data ? std::numeric_limits<uint64_t>::max() : std::numeric_limits<int32_t>::max();
    for (size_t k = 0; k < count && k < 2; ++k) {
        if (!ParseCNumber(words[k + 1], max, values[k])) {
            fail(SkipReasonId::LircBadValue, {ReasonValue(words[k + 1]), ReasonValue(words[0])});
            return;
        }
    }
    if (count != (pair ? 2u : 1u)) {
        fail(pair ? SkipReasonId::LircNeedsTwoValues : SkipReasonId::LircNeedsOneValue,
             {ReasonValue(words[0])});
        return;
    }
    const auto asInt = [](uint64_t v) { return static_cast<int64_t>(v); };
    const auto asBits = [](uint64_t v) { return static_cast<int>(std::min<uint64_t>(v, 1000)); };
    if (pair) {
        LircPair& target = key == "header" ? remote_.header
                           : key == "one"  ? remote_.one
                           : key == "zero" ? remote_.zero
                           : key == "foot" ? remote_.foot
                           : key == "pre"  ? remote_.pre
                                           : remote_.post;
        target = {asInt(values[0]), asInt(values[1])};
    } else if (key == "bits") {
        remote_.bits = asBits(values[0]);
    } else if (key == "plead") {
        remote_.plead = asInt(values[0]);
    } else if (key == "ptrail") {
        remote_.ptrail = asInt(values[0]);
    } else if (key == "pre_data_bits") {
        remote_.preDataBits = asBits(values[0]);
    } else if (key == "post_data_bits") {
        remote_.postDataBits = asBits(values[0]);
    } else if (key == "pre_data") {
        remote_.preData = values[0];
    } else if (key == "post_data") {
        remote_.postData = values[0];
    } else if (key == "toggle_bit" || key == "repeat_bit") {
        remote_.toggleBit = asBits(values[0]);
    } else if (key == "toggle_bit_mask") {
        remote_.toggleBitMask = values[0];
    } else if (key == "rc6_mask") {
        remote_.rc6Mask = values[0];
    } else {
        fail(SkipReasonId::LircUnknownParameter, {ReasonValue(words[0])});
    }
}

void LircdReader::AddCode(const std::vector<std::string>& words, int line, std::vector<ImportedButton>& out) {
    ImportedButton button;
    button.line = line;
    button.name = words[0];
    button.remote = static_cast<int>(names_.size()) - 1;
    uint64_t code = 0;
    SkipReason error;
    if (words.size() < 2) {
        error = Reason(SkipReasonId::LircNoCode);
    } else if (!ParseCNumber(words[1], std::numeric_limits<uint64_t>::max(), code)) {
        error = Reason(SkipReasonId::LircCodeNotANumber, {ReasonValue(words[1])});
    } else {
        if (!hasFirstCode_) {
            hasFirstCode_ = true;
            firstCode_ = code;
        }
        if (EncodeLircFrame(remote_, code, firstCode_, button.durations, error) && HasLircToggle(remote_))
            EncodeLircFrame(remote_, code, firstCode_, button.toggled, error, true);
    }
    if (!error.empty())
        SetSkipped(button, std::move(error));
    out.push_back(button);
}

void LircdReader::AddRawLine(const std::vector<std::string>& words, int line,
                             std::vector<ImportedButton>& out) {
    if (Lower(words[0]) == "name") {
        Finish(out);
        raw_.line = line;
        raw_.name = words.size() > 1 ? words[1] : "";
        raw_.remote = static_cast<int>(names_.size()) - 1;
        return;
    }
    if (raw_.line == 0 || !raw_.reason.empty())
        return;
    for (const std::string& word : words) {
        int32_t value = 0;
        // A duration of 0 is judged with the train, as in every other format (DecodeButton).
        if (!ParseDuration(word, DurationSigns::Refused, 0, value, raw_.reason))
            return;
        if (raw_.durations.size() < kMaxImportedDurations)
            raw_.durations.push_back(value);
    }
}
