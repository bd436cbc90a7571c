// The first frame of every protocol of Flipper's parsed signals, against the protocols' published
// layouts and nominal timings: the bits each sends for an address and command, in the order it
// sends them, written out here from the layout rather than from the encoder's payload code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture_import/protocol_encoders.h"
#include "support/ir_trains.h"
#include "support/train_results.h"

namespace {

// The count low bits of value, least significant first: the order these protocols send a field.
std::string Lsb(uint64_t value, int count) {
    const std::string msbFirst = BitsOf(value, count);
    return std::string(msbFirst.rbegin(), msbFirst.rend());
}

// RC6 mode 0, address 0, command 0x0C: leader 2666/889, then per bit 444-us halves, a 1 a mark then
// a space, a 0 a space then a mark; the toggle bit (the fifth) twice as long. Written out by hand.
// With the toggle 1 its doubled mark joins the last mode bit's mark and its doubled space the
// first address bit's space.
Durations Rc6Menu(bool toggle = false) {
    Durations frame = {2666, 889, 444, 888, 444, 444, 444, 444};
    const Durations trailer = toggle ? Durations{1332, 1332, 444} : Durations{444, 888, 888, 444, 444};
    frame.insert(frame.end(), trailer.begin(), trailer.end());
    for (int k = 0; k < 10; ++k)
        frame.insert(frame.end(), {444, 444}); // address bits and the first three command bits, all 0
    frame.insert(frame.end(), {444, 888, 444, 444, 888, 444, 444, 444});
    return frame;
}

TEST(ProtocolEncoders, FirstFrameFollowsEachProtocolsLayoutAndTimings) {
    struct Case {
        const char* protocol;
        uint32_t address;
        uint32_t command;
        Durations frame;
        KeyCode code;         // the decoder's code where a worked example gives it; 0 when none
        bool toggled = false; // the frame of the other toggle state
    } cases[] = {
        // NEC: address, its inverse, command, its inverse, least significant bit first; a stop pulse.
        {"NEC", 0x04, 0x08, PulseDistanceTrain({9000, 4500}, "00100000110111110001000011101111"),
         0x0220000020DF10EFull},
        {"NECext", 0x1234, 0xABCD, PulseDistanceTrain({9000, 4500}, Lsb(0x1234, 16) + Lsb(0xABCD, 16)), 0},
        {"NEC42", 0x1ABC, 0x5A,
         PulseDistanceTrain({9000, 4500}, Lsb(0x1ABC, 13) + Lsb(0x0543, 13) + Lsb(0x5A, 8) + Lsb(0xA5, 8)),
         0},
        {"NEC42ext", 0x2345678, 0xBEEF,
         PulseDistanceTrain({9000, 4500}, Lsb(0x2345678, 26) + Lsb(0xBEEF, 16)), 0},
        // Samsung32: the address twice, then command and inverse, 550-us pulses.
        {"Samsung32", 0x07, 0x02,
         PulseDistanceTrain({4500, 4500}, Lsb(0x07, 8) + Lsb(0x07, 8) + Lsb(0x02, 8) + Lsb(0xFD, 8), 550, 550,
                            1650),
         0},
        // Pioneer: NEC's layout at 8500/4225, 500-us pulses, 1500-us ones.
        {"Pioneer", 0xA5, 0x1C,
         PulseDistanceTrain({8500, 4225}, Lsb(0xA5, 8) + Lsb(0x5A, 8) + Lsb(0x1C, 8) + Lsb(0xE3, 8), 500, 500,
                            1500),
         0},
        // RCA as Flipper sends it: address, command, their inverses, least significant first.
        {"RCA", 0xA, 0x5C,
         PulseDistanceTrain({4000, 4000}, Lsb(0xA, 4) + Lsb(0x5C, 8) + Lsb(0x5, 4) + Lsb(0xA3, 8), 500, 1000,
                            2000),
         0},
        // Kaseikyo: vendor 0x2002, vendor parity 0, genre1 0, genre2 3, command 0x0D0 (low nibble,
        // then six high bits), id 0, and the parity of bytes 2 to 4 (0x00 ^ 0x03 ^ 0x0D).
        {"Kaseikyo", 0x00200203, 0x0D0,
         PulseDistanceTrain({3456, 1728},
                            Lsb(0x02, 8) + Lsb(0x20, 8) + Lsb(0x00, 8) + Lsb(0x03, 8) + Lsb(0x0D, 8) +
                                Lsb(0x0E, 8),
                            432, 432, 1296),
         0},
        // SIRC: a 2400-us start pulse, then per bit a 600-us pause and a 1200 (1) or 600 (0) pulse:
        // seven command bits, then the address, least significant first.
        {"SIRC", 0x01, 0x15, PulseLengthTrain(2400, Lsb(0x15, 7) + Lsb(0x01, 5)), 0},
        {"SIRC15", 0x9A, 0x15, PulseLengthTrain(2400, Lsb(0x15, 7) + Lsb(0x9A, 8)), 0},
        {"SIRC20", 0x1234, 0x7F, PulseLengthTrain(2400, Lsb(0x7F, 7) + Lsb(0x1234, 13)), 0},
        // RC5: start bits 1 1, toggle 0, address 00101, command 001100, 888-us halves.
        {"RC5", 0x05, 0x0C, BiPhaseTrain("11000101001100", 888), 0x010E00000000314Cull},
        // RC5X: the second start bit 0 (the inverted seventh command bit); Flipper's commands 0 to 63.
        {"RC5X", 0x05, 0x0C, BiPhaseTrain("10000101001100", 888), 0},
        {"RC6", 0x00, 0x0C, Rc6Menu(), 0},
        // The other toggle state: RC5's third bit, RC6's trailer; RC5 decodes to one code either way.
        {"RC5", 0x05, 0x0C, BiPhaseTrain("11100101001100", 888), 0x010E00000000314Cull, true},
        {"RC5X", 0x05, 0x0C, BiPhaseTrain("10100101001100", 888), 0, true},
        {"RC6", 0x00, 0x0C, Rc6Menu(true), 0, true},
    };
    for (const Case& c : cases) {
        Durations frame;
        SkipReason error;
        ASSERT_TRUE(EncodeProtocolFrame(c.protocol, c.address, c.command, frame, error, c.toggled))
            << c.protocol << EnglishText(error);
        EXPECT_EQ(frame, c.frame) << c.protocol << (c.toggled ? " toggled" : "");
        if (c.code != 0) {
            EXPECT_EQ(DecodeCopy(frame, 0), c.code) << c.protocol;
        }
        // Only a protocol with a toggle bit has a second frame.
        Durations other;
        EncodeProtocolFrame(c.protocol, c.address, c.command, other, error, !c.toggled);
        EXPECT_EQ(other != frame, ProtocolHasToggle(c.protocol)) << c.protocol;
    }
    EXPECT_EQ(ProtocolNames().size() + 3, std::size(cases));
}

TEST(ProtocolEncoders, RefusesUnknownProtocolsAndFieldsWiderThanTheProtocols) {
    struct Case {
        const char* protocol;
        uint32_t address;
        uint32_t command;
        const char* error;
    } cases[] = {
        {"NEC", 0x100, 0x00, "address 0x100 does not fit the 8 bits of NEC"},
        {"NEC", 0x00, 0x1FF, "command 0x1FF does not fit the 8 bits of NEC"},
        {"RC5", 0x20, 0x00, "address 0x20 does not fit the 5 bits of RC5"},
        {"RC5", 0x00, 0x40, "command 0x40 does not fit the 6 bits of RC5"},
        {"RC5X", 0x00, 0x40, "command 0x40 does not fit the 6 bits of RC5X"},
        {"Kaseikyo", 0x4000000, 0x00, "does not fit the 26 bits"},
        {"nec", 0x00, 0x00, "unknown protocol \"nec\""},
        {"", 0x00, 0x00, "unknown protocol \"\""},
    };
    for (const Case& c : cases) {
        Durations frame;
        SkipReason error;
        EXPECT_FALSE(EncodeProtocolFrame(c.protocol, c.address, c.command, frame, error)) << c.protocol;
        EXPECT_NE(EnglishText(error).find(c.error), std::string::npos) << EnglishText(error);
        EXPECT_TRUE(frame.empty());
    }
}

} // namespace
