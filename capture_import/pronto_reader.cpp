#include "capture_import/pronto_reader.h"

#include <algorithm>
#include <limits>

#include "capture_import/protocol_encoders.h"
#include "capture_import/text_words.h"

namespace {

constexpr uint64_t kLearned = 0x0000;
constexpr uint64_t kLearnedUnmodulated = 0x0100;
constexpr uint64_t kRc5 = 0x5000;
constexpr uint64_t kRc6 = 0x6000;
constexpr uint64_t kNec = 0x900A;
constexpr uint64_t kKnownTypes[] = {kLearned, kLearnedUnmodulated, kRc5, 0x5001, kRc6, 0x6001, kNec};

// The carrier period in units of 0.241246 us: a count of n periods lasts n * word * 0.241246 us.
constexpr int64_t kPeriodPicosecondsPerUnit = 241246;

bool HexWord(const std::string& word, uint64_t& value) {
    return word.size() == 4 && ParseHexWord(word, value);
}

std::string TypeText(uint64_t type) {
    std::string text = HexText(type).substr(2);
    return std::string(4 - std::min<size_t>(4, text.size()), '0') + text;
}

bool Learned(const std::vector<uint64_t>& code, std::vector<int32_t>& durations, SkipReason& error) {
    if (code[1] == 0) {
        error = Reason(SkipReasonId::ProntoCarrierZero);
        return false;
    }
    const uint64_t once = code[2];
    const uint64_t repeat = code[3];
    if (once + repeat == 0) {
        error = Reason(SkipReasonId::ProntoNoBursts);
        return false;
    }
    // The once sequence, or else the repeat sequence: either starts at word 4.
    constexpr size_t start = 4;
    const size_t pairs = once > 0 ? once : repeat;
    // The final off time is the gap after the burst, not part of it.
    for (size_t k = 0; k + 1 < 2 * pairs; ++k) {
        const int64_t picoseconds =
            static_cast<int64_t>(code[start + k] * code[1]) * kPeriodPicosecondsPerUnit;
        durations.push_back(static_cast<int32_t>(
            std::min<int64_t>((picoseconds + 500000) / 1000000, std::numeric_limits<int32_t>::max())));
    }
    durations.resize(std::min(durations.size(), kMaxImportedDurations));
    return true;
}

// The short forms: the protocol's first frame, and the frame of the other toggle state for RC5
// and RC6.
bool Predefined(const std::vector<uint64_t>& code, ImportedButton& button, SkipReason& error) {
    if (code.size() != 6 || code[2] != 0 || code[3] != 1) {
        error = Reason(SkipReasonId::ProntoNotOnePair, {TypeText(code[0])});
        return false;
    }
    const uint64_t a = code[4];
    const uint64_t c = code[5];
    std::string protocol;
    uint32_t address = static_cast<uint32_t>(a);
    uint32_t command = static_cast<uint32_t>(c);
    if (code[0] == kRc5) {
        protocol = "RC5";
        AsExtendedRc5(protocol, command);
    } else if (code[0] == kRc6) {
        protocol = "RC6";
    } else { // kNec: bytes device, subdevice, command, its complement, each sent least significant first
        protocol = "NECext";
        address = static_cast<uint32_t>((a >> 8) | (a & 0xFF) << 8);
        command = static_cast<uint32_t>((c >> 8) | (c & 0xFF) << 8);
    }
    if (!EncodeProtocolFrame(protocol, address, command, button.durations, error))
        return false;
    if (ProtocolHasToggle(protocol))
        EncodeProtocolFrame(protocol, address, command, button.toggled, error, true);
    return true;
}

} // namespace

bool LooksLikePronto(const std::vector<std::string>& words, size_t first) {
    if (words.size() < first + 4)
        return false;
    for (size_t k = first; k < words.size(); ++k) {
        uint64_t value = 0;
        if (!HexWord(words[k], value))
            return false;
    }
    uint64_t type = 0;
    HexWord(words[first], type);
    return std::find(std::begin(kKnownTypes), std::end(kKnownTypes), type) != std::end(kKnownTypes);
}

ImportedButton ReadProntoCode(const std::vector<std::string>& words, size_t first, const std::string& name,
                              int line) {
    ImportedButton button;
    button.line = line;
    button.name = name;
    std::vector<uint64_t> code;
    for (size_t k = first; k < words.size(); ++k) {
        code.emplace_back();
        HexWord(words[k], code.back());
    }
    const uint64_t announced = 4 + 2 * (code[2] + code[3]);
    bool ok = false;
    SkipReason error;
    if (announced != code.size()) {
        error = Reason(SkipReasonId::ProntoLength, {std::to_string(code.size()), std::to_string(announced)});
    } else if (code[0] == kLearned || code[0] == kLearnedUnmodulated) {
        ok = Learned(code, button.durations, error);
    } else if (code[0] == kRc5 || code[0] == kRc6 || code[0] == kNec) {
        ok = Predefined(code, button, error);
    } else {
        error = Reason(SkipReasonId::ProntoTypeNotRead, {TypeText(code[0])});
    }
    if (!ok)
        SetSkipped(button, std::move(error));
    return button;
}

bool SplitNamedPronto(std::string_view text, const std::vector<std::string>& words, std::string& name,
                      size_t& first) {
    // The hex words are the last words of the line, and the word before them ends in ':' (so it is
    // no hex word): they start right behind the last word that is not one.
    size_t k = words.size();
    uint64_t value = 0;
    while (k > 0 && HexWord(words[k - 1], value))
        --k;
    if (k == 0 || words[k - 1].back() != ':' || !LooksLikePronto(words, k))
        return false;
    // The name is the text up to that colon.
    size_t position = 0;
    for (size_t w = 0; w < k; ++w)
        position = text.find(words[w], position) + words[w].size();
    const std::string_view before = text.substr(0, position - 1);
    const size_t begin = before.find_first_not_of(" \t");
    if (begin == std::string_view::npos)
        return false;
    name = std::string(before.substr(begin));
    first = k;
    return true;
}
