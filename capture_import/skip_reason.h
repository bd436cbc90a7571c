#pragma once
// Why a button of a capture file gives no key: a stable identifier with the values it names, so
// that the dialog can say it in Russian (setup_dialog/import_reason_texts.h) while orvik-decode
// prints the English text below. The identifiers and the order of their values never change; new
// ones are added at the end. Each English text shows where its values (%1, %2, %3) stand.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class SkipReasonId : uint8_t {
    None,
    // Numbers and lines of every format.
    NotADuration,       // not a duration: "%1" (the word)
    NegativeDuration,   // negative duration: "%1"
    PauseMarkedAsPulse, // a pause marked as a pulse: "%1"
    DurationOutOfRange, // duration out of range: "%1" (above the largest 32-bit value)
    Mode2WithoutValue,  // expected "%1 N" (pulse, space or timeout)
    LineTooLong,        // line longer than %1 bytes: not read
    // Flipper .ir files.
    NoSignalType,       // button "%1" has no signal type
    RawWithoutData,     // raw signal without "data:"
    ParsedWithout,      // parsed signal without "%1:" (protocol, address or command)
    UnknownSignalType,  // unknown signal type "%1"
    DataOutsideRaw,     // "data:" outside a raw signal
    UnknownKey,         // unknown key "%1"
    FieldOutsideParsed, // "%1:" outside a parsed signal
    FieldNotBytes,      // "%1:" is not up to four hexadecimal bytes
    // Protocols of parsed signals and Pronto short forms.
    UnknownProtocol, // unknown protocol "%1"
    AddressTooWide,  // address %1 does not fit the %2 bits of %3 (value, bits, protocol)
    CommandTooWide,  // command %1 does not fit the %2 bits of %3
    // Pronto hex.
    ProntoCarrierZero, // Pronto code with a carrier word of 0
    ProntoNoBursts,    // Pronto code without bursts
    ProntoNotOnePair,  // Pronto %1 code is not 6 words announcing one pair (the code type)
    ProntoLength,      // Pronto code of %1 words; its header announces %2
    ProntoTypeNotRead, // Pronto code type %1 is not read
    // LIRC lircd.conf files; %1 is the remote's name where it is named.
    LircRawWithoutDurations, // raw code without durations
    LircNoCode,              // no code
    LircCodeNotANumber,      // code "%1" is not a number
    LircSeveralCodings,      // LIRC remote "%1": more than one coding in its flags
    LircUnknownFlag,         // LIRC remote "%1": unknown flag "%2"
    LircBadValue,            // LIRC remote "%1": bad value "%2" of %3 (the parameter)
    LircNeedsTwoValues,      // LIRC remote "%1": %2 needs two values
    LircNeedsOneValue,       // LIRC remote "%1": %2 needs one value
    LircUnknownParameter,    // LIRC remote "%1": unknown parameter "%2"
    LircCodingNotRead,       // LIRC remote "%1": its %2 coding is not read
    LircBitCount,            // LIRC remote "%1" has %2 bits; 1 to 64 are read
    LircNoBitTimings,        // LIRC remote "%1" gives no "one" or no "zero" timing
    LircDataWiderThanBits,   // LIRC remote "%1": its pre_data or post_data is wider than its bits
    LircCodeTooWide,         // code %1 is wider than the %2 bits of LIRC remote "%3"
    LircEmptyFrame,          // LIRC remote "%1" gives an empty frame
    // The train, as a receiver would deliver it.
    NoDurations,          // no durations
    DurationNotAboveZero, // duration %1 is not above 0 (duration %2 of the train)
    DurationTooLong,    // duration %1 is longer than any receiver delivers (%2 us) (duration %3 of the train)
    RepeatFrameOnly,    // repeat frame only (3 to 6 durations: a held button's repeat, no key)
    NothingFromTooFew,  // neither a code nor a raw pattern: fewer than two durations
    NothingFromLengths, // neither a code nor a raw pattern: more than four pulse or pause lengths
    Count               // the number of identifiers, None included
};

struct SkipReason {
    SkipReasonId id = SkipReasonId::None;
    // The values the text names, in the order of its %1, %2, %3: words of the file (control bytes
    // replaced by stand-ins, long ones cut) and numbers.
    std::vector<std::string> values;

    bool empty() const { return id == SkipReasonId::None; }
};

// A reason with its values; the caller passes words of the file through ReasonValue.
SkipReason Reason(SkipReasonId id, std::vector<std::string> values = {});

// A word of the file as a reason quotes it: control bytes as stand-ins, and at most 48 bytes (cut
// at a character's start) followed by "...".
std::string ReasonValue(std::string_view word);

// The English text with %1, %2, %3 in place of their values ("" for None).
const char* EnglishTemplate(SkipReasonId id);
std::string EnglishText(const SkipReason& reason);

// The number of values the text of id names.
int ReasonValueCount(SkipReasonId id);
