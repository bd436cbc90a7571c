#include "capture_import/skip_reason.h"

#include <iterator>

#include "capture_import/name_text.h"

namespace {

constexpr size_t kLongestQuotedWord = 48;

// In the order of SkipReasonId.
constexpr const char* kEnglish[] = {
    "",
    "not a duration: \"%1\"",
    "negative duration: \"%1\"",
    "a pause marked as a pulse: \"%1\"",
    "duration out of range: \"%1\"",
    "expected \"%1 N\"",
    "line longer than %1 bytes: not read",
    "button \"%1\" has no signal type",
    "raw signal without \"data:\"",
    "parsed signal without \"%1:\"",
    "unknown signal type \"%1\"",
    "\"data:\" outside a raw signal",
    "unknown key \"%1\"",
    "\"%1:\" outside a parsed signal",
    "\"%1:\" is not up to four hexadecimal bytes",
    "unknown protocol \"%1\"",
    "address %1 does not fit the %2 bits of %3",
    "command %1 does not fit the %2 bits of %3",
    "Pronto code with a carrier word of 0",
    "Pronto code without bursts",
    "Pronto %1 code is not 6 words announcing one pair",
    "Pronto code of %1 words; its header announces %2",
    "Pronto code type %1 is not read",
    "raw code without durations",
    "no code",
    "code \"%1\" is not a number",
    "LIRC remote \"%1\": more than one coding in its flags",
    "LIRC remote \"%1\": unknown flag \"%2\"",
    "LIRC remote \"%1\": bad value \"%2\" of %3",
    "LIRC remote \"%1\": %2 needs two values",
    "LIRC remote \"%1\": %2 needs one value",
    "LIRC remote \"%1\": unknown parameter \"%2\"",
    "LIRC remote \"%1\": its %2 coding is not read",
    "LIRC remote \"%1\" has %2 bits; 1 to 64 are read",
    "LIRC remote \"%1\" gives no \"one\" or no \"zero\" timing",
    "LIRC remote \"%1\": its pre_data or post_data is wider than its bits",
    "code %1 is wider than the %2 bits of LIRC remote \"%3\"",
    "LIRC remote \"%1\" gives an empty frame",
    "no durations",
    "duration %1 is not above 0 (duration %2 of the train)",
    "duration %1 is longer than any receiver delivers (%2 us) (duration %3 of the train)",
    "repeat frame only",
    "neither a code nor a raw pattern: fewer than two durations",
    "neither a code nor a raw pattern: more than four pulse or pause lengths",
};
static_assert(std::size(kEnglish) == static_cast<size_t>(SkipReasonId::Count));

} // namespace

std::string ReasonValue(std::string_view word) {
    if (word.size() <= kLongestQuotedWord)
        return WithoutControls(word);
    // Cut before a UTF-8 continuation byte's lead, so that no character is broken.
    size_t cut = kLongestQuotedWord;
    while (cut > 0 && (static_cast<unsigned char>(word[cut]) & 0xC0) == 0x80)
        --cut;
    return WithoutControls(word.substr(0, cut)) + "...";
}

SkipReason Reason(SkipReasonId id, std::vector<std::string> values) {
    SkipReason reason;
    reason.id = id;
    reason.values = std::move(values);
    return reason;
}

const char* EnglishTemplate(SkipReasonId id) {
    const auto index = static_cast<size_t>(id);
    return index < std::size(kEnglish) ? kEnglish[index] : "";
}

std::string EnglishText(const SkipReason& reason) {
    const std::string_view text = EnglishTemplate(reason.id);
    std::string out;
    for (size_t k = 0; k < text.size(); ++k) {
        const size_t n = k + 1 < text.size() && text[k] == '%' ? static_cast<size_t>(text[k + 1] - '1') : 9;
        if (n < reason.values.size()) {
            out += reason.values[n];
            ++k;
        } else {
            out += text[k];
        }
    }
    return out;
}

int ReasonValueCount(SkipReasonId id) {
    int count = 0;
    const std::string_view text = EnglishTemplate(id);
    for (size_t k = 0; k + 1 < text.size(); ++k) {
        if (text[k] == '%' && text[k + 1] >= '1' && text[k + 1] <= '9')
            ++count;
    }
    return count;
}
