#include "decoding/pulse_train_decoder.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <limits>
#include <string>

#include "capture_import/receiver_model.h"
#include "support/ir_trains.h"
#include "support/reference_decoding.h"
#include "support/train_results.h"

namespace {

constexpr KeyCode kNecCode = 0x0220000020DF10EFull;
constexpr KeyCode kRc5Code = 0x010E00000000314Cull;
constexpr KeyCode kPulseLengthCode = 0x030C000000000908ull;
// Mode 0, address 0x04, command 0x0C, and a media-center button: 0x800F040C in mode 6.
constexpr KeyCode kRc6Mode0Code = 0x041500000010040Cull;
constexpr KeyCode kMediaCenterCode = 0x0425001C800F040Cull;
const Durations kNecHeader{9000, 4500};

Durations NecFrame() {
    return PulseDistanceTrain(kNecHeader, BitsOf(0x20DF10EF, 32));
}

Durations Rc6Mode0(bool toggle) {
    return Rc6Train(0, toggle, BitsOf(0x040C, 16));
}
Durations MediaCenter(bool trailer, uint64_t payload = 0x800F840C) {
    return Rc6Train(6, trailer, BitsOf(payload, 32));
}

// Marks longer by stretch, and the pauses after them shorter by as much, as receivers make them.
Durations MarksLonger(Durations train, int32_t stretch) {
    for (size_t i = 0; i < train.size(); ++i)
        train[i] += i % 2 == 0 ? stretch : -stretch;
    return train;
}

Durations With(Durations train, size_t position, int32_t duration) {
    train[position] = duration;
    return train;
}

// Expected code of a train that must not take the RC-6 path: what the written codings give.
constexpr KeyCode kWrittenCodings = ~0ull;

struct DecodeCase {
    const char* name;
    Durations train;
    KeyCode previous;
    KeyCode expected;
};

void ExpectDecodes(const std::vector<DecodeCase>& cases) {
    for (const DecodeCase& c : cases) {
        const KeyCode code = DecodeCopy(c.train, c.previous);
        if (c.expected != kWrittenCodings) {
            EXPECT_EQ(code, c.expected) << c.name;
            continue;
        }
        Durations copy = c.train;
        EXPECT_EQ(code,
                  reference::DecodePulseTrain(copy.data(), static_cast<int32_t>(copy.size()), c.previous))
            << c.name;
        EXPECT_NE(CodingKindOf(code), CodingBiPhaseRc6) << c.name;
    }
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
        {"after RC-6: a held button resends its whole frame", repeat, kMediaCenterCode, 0},
        {"six durations are shortened to five", {9000, 4500, 560, 2250, 560, 96000}, kNecCode, kNecCode},
        {"four durations are shortened to three", {9000, 2250, 560, 96000}, kNecCode, kNecCode},
        {"kind is read from the two low bits of the top byte", repeat, 0x0620000000000001ull,
         0x0620000000000001ull},
    });
}

TEST(DecodePulseTrain, Rc6InEachModeLengthAndToggle) {
    ExpectDecodes({
        {"mode 0, toggle 0", Rc6Mode0(false), 0, kRc6Mode0Code},
        {"mode 0, toggle 1", Rc6Mode0(true), 0, kRc6Mode0Code},
        {"media center, toggle in bit 15 clear", MediaCenter(false, 0x800F040C), 0, kMediaCenterCode},
        {"media center, toggle in bit 15 set", MediaCenter(false), 0, kMediaCenterCode},
        {"media center, trailer set too", MediaCenter(true), 0, kMediaCenterCode},
        {"mode 6, 32 bits, another customer keeps bit 15", MediaCenter(true, 0x800E840C), 0,
         0x0425001C800E840Cull},
        {"mode 6, 16 bits", Rc6Train(6, true, BitsOf(0x1234, 16)), 0, 0x04150000001C1234ull},
        {"mode 6, 20 bits", Rc6Train(6, true, BitsOf(0xA5C3F, 20)), 0, 0x0419000001CA5C3Full},
        {"mode 6, 24 bits", Rc6Train(6, false, BitsOf(0xC0FFEE, 24)), 0, 0x041D00001CC0FFEEull},
        {"mode 3, 32 bits", Rc6Train(3, true, BitsOf(0x12345678, 32)), 0, 0x0425001612345678ull},
        {"mode 6, 40 bits", Rc6Train(6, true, BitsOf(0x12345678ABull, 40)), 0, 0x042D1C12345678ABull},
        {"a repeated copy behind the frame", Joined(Joined(MediaCenter(true), {60000}), MediaCenter(false)),
         0, kMediaCenterCode},
        {"the silence after the frame is 5.5 units", Joined(Joined(Rc6Mode0(true), {2442}), NecFrame()), 0,
         kRc6Mode0Code},
    });
}

// Not whole: cut short, too long for its mode or for a code. Such a frame that runs to the end of
// the train may have been cut there and gives 0; one followed by its silence is something else.
TEST(DecodePulseTrain, Rc6FramesThatAreNotWholeGiveZero) {
    const Durations mode0 = Rc6Mode0(true);
    for (size_t cut = 7; cut < mode0.size(); cut += 2) {
        const Durations head(mode0.begin(), mode0.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_EQ(DecodeCopy(head, 0), 0u) << cut;
    }
    ExpectDecodes({
        {"mode 0 with 20 bits", Rc6Train(0, false, BitsOf(0x12345, 20)), 0, 0},
        {"mode 6 with 18 bits", Rc6Train(6, false, BitsOf(0x12345, 18)), 0, 0},
        {"mode 6 with 12 bits", Rc6Train(6, false, BitsOf(0x123, 12)), 0, 0},
        {"mode 6 with 44 bits", Rc6Train(6, false, BitsOf(0x123456789ABull, 44)), 0, 0},
        {"mode 6 with 18 bits, then silence", Joined(Rc6Train(6, false, BitsOf(0x12345, 18)), {40000, 560}),
         0, kWrittenCodings},
        {"the leader and one mark, then silence", {2664, 888, 444, 20000, 560, 560, 560}, 0, kWrittenCodings},
    });
}

// The leader's mark may be half a unit (222 us) off its six units, which shifts every later
// duration; each of those may be off by half a unit after that shift.
TEST(DecodePulseTrain, Rc6ToleratesJitterUpToHalfAUnit) {
    const Durations frame = Rc6Mode0(true); // durations 8 and 9 are three units long
    ExpectDecodes({
        {"marks 221 us longer", MarksLonger(frame, 221), 0, kRc6Mode0Code},
        {"marks 221 us shorter", MarksLonger(frame, -221), 0, kRc6Mode0Code},
        {"marks 222 us longer", MarksLonger(frame, 222), 0, kWrittenCodings},
        {"a one-unit pause at 1.5 units less 1 us", With(frame, 5, 665), 0, kRc6Mode0Code},
        {"a one-unit pause at 1.5 units", With(frame, 5, 666), 0, kWrittenCodings},
        {"a one-unit mark at half a unit", With(frame, 2, 222), 0, kRc6Mode0Code},
        {"a one-unit mark below half a unit", With(frame, 2, 221), 0, kWrittenCodings},
        {"a three-unit pause at 3.5 units less 1 us", With(frame, 9, 1553), 0, kRc6Mode0Code},
        {"a three-unit pause at 3.5 units", With(frame, 9, 1554), 0, kWrittenCodings},
        {"a pause below 5.5 units after the frame", Joined(Joined(frame, {2441}), NecFrame()), 0,
         kWrittenCodings},
        {"marks 200 us longer, then a pause 1.5 units less 1 us long", With(MarksLonger(frame, 200), 5, 465),
         0, kRc6Mode0Code},
        {"marks 200 us longer, then a pause 1.5 units long", With(MarksLonger(frame, 200), 5, 466), 0,
         kWrittenCodings},
    });
}

// As models 0 and 1 deliver frames, in whole ticks of 85.33 and 21.33 us, with marks longer or
// shorter as receivers make them.
TEST(DecodePulseTrain, Rc6AsTheReceiverModelsDeliverIt) {
    const struct {
        Durations frame;
        KeyCode code;
    } frames[] = {
        {Rc6Mode0(true), kRc6Mode0Code},
        {MediaCenter(true), kMediaCenterCode},
        {Rc6Train(6, false, BitsOf(0xA5C3F, 20)), 0x0419000001CA5C3Full},
        {Rc6Train(6, true, BitsOf(0xC0FFEE, 24)), 0x041D00001CC0FFEEull},
    };
    for (const auto& f : frames) {
        for (const auto& [model, scaler] : {std::pair{0, 8533}, std::pair{1, 2133}}) {
            for (int32_t stretch : {-60, 0, 90, 160}) {
                const Durations delivered = AsModelDelivers(MarksLonger(f.frame, stretch), model, scaler);
                EXPECT_EQ(DecodeCopy(delivered, 0), f.code)
                    << "model " << model << ", marks longer by " << stretch;
            }
        }
    }
}

// A burst that filled the buffer may end inside a frame: an RC-6 frame that runs to its end gives
// nothing, even where the cut leaves a whole shorter frame; one that ends inside the train counts.
TEST(DecodeFullBufferTrain, Rc6FrameRunningToTheEndGivesZero) {
    const Durations frame = MediaCenter(true);
    const Durations cutAt24Bits(frame.begin(), frame.begin() + 53);
    ASSERT_EQ(CodingKindOf(DecodeCopy(cutAt24Bits, 0)), CodingBiPhaseRc6)
        << "a cut that reads as a whole frame";
    const struct {
        const char* name;
        Durations train;
        KeyCode expected;
    } cases[] = {
        {"cut at 24 payload bits", cutAt24Bits, 0},
        {"whole, up to the end", frame, 0},
        {"whole, the silence after it inside",
         Joined(Joined(frame, {40000}), Durations(frame.begin(), frame.begin() + 9)), kMediaCenterCode},
        {"a pulse-distance frame up to the end", NecFrame(), kNecCode},
    };
    for (const auto& c : cases) {
        Durations train = c.train;
        EXPECT_EQ(DecodeFullBufferTrain(train.data(), static_cast<int32_t>(train.size()), kNecCode),
                  c.expected)
            << c.name;
    }
}

// Trains that are no RC-6 frame decode as before, even those that begin like one.
TEST(DecodePulseTrain, OtherTrainsDoNotTakeTheRc6Path) {
    ExpectDecodes({
        {"RC-5", BiPhaseTrain("11100101001100"), 0, kRc5Code},
        {"RC-5 at the RC-6 unit", BiPhaseTrain("11100101001100", 444), 0, kWrittenCodings},
        {"pulse-distance with a long header", NecFrame(), 0, kNecCode},
        {"pulse-distance behind an RC-6 leader",
         PulseDistanceTrain({2664, 888}, BitsOf(0x20DF, 16), 444, 444, 1332), 0, kWrittenCodings},
        {"pulse-length behind a 4:1 header (12-bit SIRC)", PulseLengthTrain(2400, "100100001000"), 0,
         kPulseLengthCode},
        {"an RC-6 frame with a start bit 0", With(Rc6Mode0(false), 1, 1332), 0, kWrittenCodings},
        {"an RC-6 frame whose trailer is one unit", With(With(Rc6Mode0(true), 8, 888), 9, 888), 0,
         kWrittenCodings},
        {"a long mark inside", With(Rc6Mode0(false), 10, 1776), 0, kWrittenCodings},
        {"a zero inside", With(Rc6Mode0(false), 12, 0), 0, kWrittenCodings},
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
