#include "decoding/pulse_train_decoder.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <limits>
#include <string>

#include "support/ir_trains.h"
#include "support/train_results.h"

namespace {

constexpr KeyCode kNecCode = 0x0220000020DF10EFull;
constexpr KeyCode kRc5Code = 0x010E00000000314Cull;
constexpr KeyCode kPulseLengthCode = 0x030C000000000908ull;
const Durations kNecHeader{9000, 4500};

Durations NecFrame() {
    return PulseDistanceTrain(kNecHeader, BitsOf(0x20DF10EF, 32));
}

struct DecodeCase {
    const char* name;
    Durations train;
    KeyCode previous;
    KeyCode expected;
};

void ExpectDecodes(const std::vector<DecodeCase>& cases) {
    for (const DecodeCase& c : cases)
        EXPECT_EQ(DecodeCopy(c.train, c.previous), c.expected) << c.name;
}

TEST(TrainBuilders, BiPhaseBuilderGivesTheListedRc5Frame) {
    const Durations listed{889,  889, 889, 889,  1778, 889, 889,  1778, 1778, 1778,
                           1778, 889, 889, 1778, 889,  889, 1778, 889,  889};
    EXPECT_EQ(BiPhaseTrain("11100101001100"), listed);
}

TEST(DecodePulseTrain, ExamplesOfTheThreeCodings) {
    ExpectDecodes({
        {"RC-5, toggle 1",
         {889, 889, 889, 889, 1778, 889, 889, 1778, 1778, 1778, 1778, 889, 889, 1778, 889, 889, 1778, 889,
          889},
         0,
         kRc5Code},
        {"RC-5, toggle 0",
         BiPhaseTrain("11"
                      "0"
                      "00101"
                      "001100"),
         0, kRc5Code},
        {"pulse-distance with header", NecFrame(), 0, kNecCode},
        {"pulse-distance without header", PulseDistanceTrain({}, "10110010"), 0, 0x02080000000000B2ull},
        {"pulse-length, header removed", PulseLengthTrain(2400, "100100001000"), 0, kPulseLengthCode},
    });
}

TEST(DecodePulseTrain, TooShortOrUnclassifiableTrainsGiveZero) {
    ExpectDecodes({
        {"empty", {}, kNecCode, 0},
        {"one duration", {9000}, kNecCode, 0},
        {"two durations", {9000, 2250}, kNecCode, 0},
        {"three pulse classes, 7 durations", {500, 500, 500, 500, 1500, 500, 3000}, 0, 0},
        {"three pulse classes, 8 durations", {500, 500, 500, 500, 1500, 500, 3000, 500}, 0, 0},
    });
    int32_t unused = 0;
    EXPECT_EQ(DecodePulseTrain(&unused, -5, kNecCode), 0u);
    EXPECT_EQ(DecodePulseTrain(nullptr, 67, kNecCode), 0u);
}

TEST(DecodePulseTrain, RepeatFramesRepeatOnlyPulseDistanceAndPulseLengthCodes) {
    const Durations repeat{9000, 2250, 560};
    ExpectDecodes({
        {"after pulse-distance", repeat, kNecCode, kNecCode},
        {"after pulse-length", repeat, kPulseLengthCode, kPulseLengthCode},
        {"after nothing", repeat, 0, 0},
        {"after bi-phase", repeat, kRc5Code, 0},
        {"six durations are shortened to five", {9000, 4500, 560, 2250, 560, 96000}, kNecCode, kNecCode},
        {"four durations are shortened to three", {9000, 2250, 560, 96000}, kNecCode, kNecCode},
        {"kind is read from the two low bits of the top byte", repeat, 0x0620000000000001ull,
         0x0620000000000001ull},
    });
}

TEST(DecodePulseTrain, FrameGapCutsARepeatedCopy) {
    const Durations twoCopies = Joined(Joined(NecFrame(), {40000}), NecFrame());
    const Durations atTheLimit = Joined(Joined(NecFrame(), {10200}), NecFrame());
    const Durations aboveTheLimit = Joined(Joined(NecFrame(), {10201}), NecFrame());
    ExpectDecodes({
        {"40 ms gap", twoCopies, 0, kNecCode},
        {"10201 us is a gap", aboveTheLimit, 0, kNecCode},
        // Not a gap: the 10200-us pause is removed as a separator with the pulse before it, the second
        // header pulse becomes a long pulse class, and the train reads as 48 pulse-length bits.
        {"10200 us is no gap", atTheLimit, 0, 0x0330800000004000ull},
        // The header pause sits before position 11 and never cuts the frame.
        {"long header pause", PulseDistanceTrain({9000, 40000}, BitsOf(0x20DF10EF, 32)), 0, kNecCode},
    });
}

// The frame gap is looked for a few pauses at a time: wherever it falls, the train decodes as the
// durations before it do.
TEST(DecodePulseTrain, FrameGapCutsAtEveryPosition) {
    const Durations frame = PulseLengthTrain(2400, BitsOf(0x5A3C96E1, 32));
    for (size_t gap = 11; gap + 2 < frame.size(); gap += 2) {
        Durations train = Joined(frame, frame);
        train[gap] = 20000;
        const Durations before(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(gap));
        ASSERT_NE(DecodeCopy(before, 0), 0u) << gap;
        EXPECT_EQ(DecodeCopy(train, 0), DecodeCopy(before, 0)) << gap;
    }
}

TEST(DecodePulseTrain, SeparatorPauseIsRemovedWithItsPulse) {
    const Durations split = Joined(Joined(PulseDistanceTrain(kNecHeader, "10100101"), {5000}),
                                   PulseDistanceTrain({}, "00111100"));
    ExpectDecodes({
        {"split frame", split, 0, 0x021000000000A53Cull},
        {"same frame in one piece", PulseDistanceTrain(kNecHeader, "1010010100111100"), 0,
         0x021000000000A53Cull},
    });
}

TEST(DecodePulseTrain, BiPhaseStopsAfter48Bits) {
    // 64 bits 0xE5A5A5A5A5A5A5A5: the first 48 are kept and the third of them is masked.
    ExpectDecodes({{"64 bits", BiPhaseTrain(BitsOf(0xE5A5A5A5A5A5A5A5ull, 64)), 0, 0x0130C5A5A5A5A5A5ull}});
}

TEST(DecodePulseTrain, DurationsOfZeroOrBelowGiveZero) {
    Durations zeroPause = NecFrame();
    zeroPause[21] = 0;
    Durations negativeHeader = NecFrame();
    negativeHeader[0] = -9000;
    Durations lowestValue = BiPhaseTrain("11100101001100");
    lowestValue[7] = std::numeric_limits<int32_t>::min();
    Durations zeroBehindTheGap = Joined(Joined(NecFrame(), {40000}), Durations(67, 0));
    ExpectDecodes({
        {"one zero pause", zeroPause, 0, 0},
        {"negative header", negativeHeader, 0, 0},
        {"lowest 32-bit value", lowestValue, 0, 0},
        {"all zero", Durations(67, 0), 0, 0},
        {"all negative", Durations(67, -560), 0, 0},
        {"zero repeat frame", {0, 0, 0}, kNecCode, 0},
        {"zeros behind the frame gap are never read", zeroBehindTheGap, 0, kNecCode},
    });
}

TEST(DecodePulseTrain, LongDurationsDoNotOverflow) {
    // The first eleven durations of the RC-5 frame (the pause at position 11 ends it once it is
    // long). At a half-bit of 10^9 us, class sums and thresholds exceed 32 bits.
    const Durations head = BiPhaseTrain("11100101001100");
    const Durations eleven(head.begin(), head.begin() + 11);
    ExpectDecodes({
        {"T = 889", eleven, 0, 0x010900000000018Aull},
        {"T = 10^9", Stretched(eleven, 1000000000, 889), 0, 0x010900000000018Aull},
    });
}

TEST(DecodePulseTrain, SeparatorRemovalMovesTheTailDownInPlace) {
    Durations split = Joined(Joined(PulseDistanceTrain(kNecHeader, "10100101"), {5000}),
                             PulseDistanceTrain({}, "00111100"));
    const Durations original = split;
    DecodePulseTrain(split.data(), static_cast<int32_t>(split.size()), 0);
    // The separator pair is gone and everything behind it moved down two places.
    EXPECT_EQ(split[18], original[20]);
    EXPECT_EQ(split[32], original[34]);
}

} // namespace
