#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "decoding/raw_signature.h"
#include "receiver/receiver.h"
#include "support/ir_trains.h"
#include "capture_import/capture_reader.h"
#include "tools/orvik_decode/decode_report.h"

namespace {

std::vector<ImportedButton> ReadAll(const std::string& text) {
    return ReadCaptureText(text).buttons;
}

struct Expected {
    int line;
    Durations durations;
    std::string error; // part of the message; empty for a train
    std::string name = "";
    Durations toggled = {}; // the frame of the other toggle state
};

// A lircd.conf remote block around parameter lines and code lines.
std::string LircRemote(const std::string& parameters, const std::string& codes,
                       const std::string& section = "codes") {
    return "begin remote\n  name R\n" + parameters + "  begin " + section + "\n" + codes + "  end " +
           section + "\nend remote\n";
}

// A small space-encoded remote: header 1000/500, a 1 is 100/300, a 0 100/100, a 100-us trail.
const std::string kSmallSpaceEnc =
    "  bits 4\n  header 1000 500\n  one 100 300\n  zero 100 100\n  ptrail 100\n";
// A small bi-phase remote: 500-us halves, the lead pulse the first start bit's second half.
const std::string kSmallRc5 =
    "  bits 3\n  flags RC5|CONST_LENGTH\n  one 500 500\n  zero 500 500\n  plead 500\n";

TEST(CaptureReader, ReadsEveryFormatButtonByButton) {
    struct Case {
        const char* name;
        std::string input;
        std::vector<Expected> items;
    } cases[] = {
        {"blanks, commas, tabs and signs", "560, -1690 +560\t560", {{1, {560, 1690, 560, 560}, ""}}},
        {"comments and blank lines", "# x\n\n  # y\n560 560 560 # tail\r\n", {{4, {560, 560, 560}, ""}}},
        {"mode2: leading silence skipped, long space ends the train",
         "space 16777215\npulse 9000\nspace 4500\npulse 560\nspace 30001\npulse 560\nspace 560\npulse 560",
         {{2, {9000, 4500, 560}, ""}, {6, {560, 560, 560}, ""}}},
        {"mode2: a space of 30 ms stays in the train",
         "pulse 500\nspace 30000\npulse 500",
         {{1, {500, 30000, 500}, ""}}},
        {"mode2: timeout ends the train",
         "pulse 500\nspace 500\npulse 500\ntimeout 125000\npulse 600",
         {{1, {500, 500, 500}, ""}, {5, {600}, ""}}},
        {"mode2: two of a kind in a row are one duration",
         "pulse 500\npulse 300\nspace 200\nspace 100\npulse 400",
         {{1, {800, 300, 400}, ""}}},
        {"mode2: sum kept at the longest duration",
         "pulse 2147483000\npulse 2147483000",
         {{1, {2147483647}, ""}}},
        {"a train line ends a mode2 train",
         "pulse 500\nspace 500\npulse 500\n700 700 700",
         {{1, {500, 500, 500}, ""}, {4, {700, 700, 700}, ""}}},
        {"not a number",
         "560 abc 560\n560 560 560",
         {{1, {}, "not a duration: \"abc\""}, {2, {560, 560, 560}, ""}}},
        {"a sign alone", "560 - 560", {{1, {}, "not a duration: \"-\""}}},
        {"largest duration", "2147483647", {{1, {2147483647}, ""}}},
        {"too long", "2147483648", {{1, {}, "out of range"}}},
        {"bad mode2 line keeps what came before",
         "pulse 500\nspace 500\npulse 500\nspace x\npulse 600",
         {{1, {500, 500, 500}, ""}, {4, {}, "not a duration"}, {5, {600}, ""}}},
        {"mode2 word without value", "pulse", {{1, {}, "expected \"pulse N\""}}},
        // Flipper parsed signals: the protocol's frame under the button's name (the encoders' own
        // test checks the frames of every protocol).
        {"parsed NEC signal",
         "Filetype: IR signals file\nname: Power\ntype: parsed\nprotocol: NEC\naddress: 04 00 00 00\n"
         "command: 08 00 00 00",
         {{2, PulseDistanceTrain({9000, 4500}, "00100000110111110001000011101111"), "", "Power"}}},
        {"Flipper RC5 above command 63 as RC5X",
         "name: A\ntype: parsed\nprotocol: RC5\naddress: 05 00 00 00\ncommand: 4C 00 00 00",
         {{1, BiPhaseTrain("10000101001100", 888), "", "A", BiPhaseTrain("10100101001100", 888)}}},
        {"Flipper RC5X above command 63 refused",
         "name: A\ntype: parsed\nprotocol: RC5X\naddress: 05 00 00 00\ncommand: 4C 00 00 00",
         {{1, {}, "command 0x4C does not fit the 6 bits of RC5X", "A"}}},
        {"a stray line in a Flipper file is no button",
         "Filetype: IR signals file\nIR\nname: A\ntype: raw\ndata: 500 500 500",
         {{5, {500, 500, 500}, "", "A"}}},
        {"parsed signal of an unknown protocol",
         "name: A\ntype: parsed\nprotocol: NEC3\naddress: 04 00 00 00\ncommand: 08 00 00 00",
         {{1, {}, "unknown protocol \"NEC3\"", "A"}}},
        {"address out of the protocol's range",
         "name: A\ntype: parsed\nprotocol: RC5\naddress: 20 00 00 00\ncommand: 01 00 00 00",
         {{1, {}, "address 0x20 does not fit the 5 bits of RC5", "A"}}},
        {"address not bytes",
         "name: A\ntype: parsed\nprotocol: NEC\naddress: 4",
         {{4, {}, "\"address:\" is not up to four hexadecimal bytes", "A"}}},
        {"parsed signal cut short by the next button",
         "name: A\ntype: parsed\nprotocol: NEC\naddress: 04 00 00 00\nname: B\ntype: raw\ndata: 500 500 500",
         {{1, {}, "parsed signal without \"command:\"", "A"}, {7, {500, 500, 500}, "", "B"}}},
        {"raw signal without data",
         "name: A\ntype: raw\nfrequency: 38000",
         {{1, {}, "raw signal without \"data:\"", "A"}}},
        // Pronto: counts times the carrier period (word 1 x 0.241246 us), rounded; the last off time
        // dropped. 100 x 0.241246 = 24.1246 us: 16 counts 386 us, 32 772 us, 48 1158 us.
        {"learned Pronto code, after a byte order mark",
         "\xEF\xBB\xBFPower: 0000 0064 0002 0000 0010 0020 0030 1000",
         {{1, {386, 772, 1158}, "", "Power"}}},
        {"repeat sequence when the once part is empty, a name with blanks and a colon",
         "\nVol: Up: 0000 0064 0000 0002 0010 0020 0030 1000",
         {{2, {386, 772, 1158}, "", "Vol: Up"}}},
        {"unmodulated code, alone on a line", "0100 0064 0001 0000 0030 0010", {{1, {1158}, ""}}},
        {"a once part and a repeat part: the once part",
         "A: 0000 0064 0002 0001 0010 0020 0030 1000 0040 0050",
         {{1, {386, 772, 1158}, "", "A"}}},
        {"Pronto RC5 above command 63 as RC5X, with the frame of the other toggle state",
         "S: 5000 0073 0000 0001 0005 004C",
         {{1, BiPhaseTrain("10000101001100", 888), "", "S", BiPhaseTrain("10100101001100", 888)}}},
        {"Pronto code shorter than its header says",
         "A: 0000 0064 0002 0000 0010 0020",
         {{1, {}, "Pronto code of 6 words; its header announces 8", "A"}}},
        {"Pronto code type not read",
         "A: 5001 0073 0000 0001 0005 000C",
         {{1, {}, "Pronto code type 5001 is not read", "A"}}},
        {"Pronto carrier of 0", "A: 0000 0000 0001 0000 0010 0020", {{1, {}, "carrier word of 0", "A"}}},
        {"RC5 short form out of range",
         "A: 5000 0073 0000 0001 0020 0001",
         {{1, {}, "address 0x20 does not fit", "A"}}},
        // lircd.conf: header, pre data, code, post data and trail, most significant bit first.
        {"space-encoded remote with pre and post data",
         LircRemote(kSmallSpaceEnc + "  pre_data_bits 2\n  pre_data 0x2\n  post_data_bits 1\n  post_data 1\n",
                    "  KEY_9 0x9 0x3\n"),
         {{13, Joined({1000, 500}, PulseDistanceTrain({}, "1010011", 100, 100, 300)), "", "KEY_9"}}},
        {"REVERSE sends every field least significant bit first",
         LircRemote(kSmallSpaceEnc + "  flags SPACE_ENC|REVERSE\n  pre_data_bits 2\n  pre_data 0x1\n",
                    "  KEY_C 0xC\n"),
         {{12, Joined({1000, 500}, PulseDistanceTrain({}, "100011", 100, 100, 300)), "", "KEY_C"}}},
        // Lead 500, then 1 (space, pulse), 0 (pulse, space), 1: neighbours of one kind joined.
        {"RC5 remote", LircRemote(kSmallRc5, "  K 0x5\n"), {{9, {500, 500, 1000, 1000, 500}, "", "K"}}},
        {"a single toggle bit is sent as 0, and as 1 in the other frame",
         LircRemote(kSmallRc5 + "  toggle_bit_mask 0x2\n", "  K 0x7\n"),
         {{10, {500, 500, 1000, 1000, 500}, "", "K", Durations(7, 500)}}},
        {"the obsolete toggle_bit counts from the first bit sent",
         LircRemote(kSmallRc5 + "  toggle_bit 2\n", "  K 0x7\n"),
         {{10, {500, 500, 1000, 1000, 500}, "", "K", Durations(7, 500)}}},
        // An RC6 remote's toggle_bit is its double-length bit: LIRC's 0 (RC6's 1) a pulse and a space
        // of 1000, its 1 a space and a pulse of 1000.
        {"RC6 toggle bit doubled in both states",
         LircRemote("  bits 2\n  flags RC6\n  header 2000 1000\n  one 500 500\n  zero 500 500\n"
                    "  toggle_bit 2\n",
                    "  K 0x3\n"),
         {{10, {2000, 1500, 1500}, "", "K", {2000, 1500, 500, 1000, 1000}}}},
        // pre and post pairs stand between the data fields, sent only with their field and with both
        // halves above 0; foot is a space and a pulse after the trail.
        {"the pre pair after the pre data",
         LircRemote(kSmallSpaceEnc + "  pre_data_bits 1\n  pre_data 1\n  pre 200 700\n", "  K 0x9\n"),
         {{12, Joined({1000, 500, 100, 300, 200, 700}, PulseDistanceTrain({}, "1001", 100, 100, 300)), "",
           "K"}}},
        {"no pre pair without pre data",
         LircRemote(kSmallSpaceEnc + "  pre 200 700\n", "  K 0x9\n"),
         {{10, Joined({1000, 500}, PulseDistanceTrain({}, "1001", 100, 100, 300)), "", "K"}}},
        {"no pre pair with a space of 0",
         LircRemote(kSmallSpaceEnc + "  pre_data_bits 1\n  pre_data 1\n  pre 200 0\n", "  K 0x9\n"),
         {{12, Joined({1000, 500}, PulseDistanceTrain({}, "11001", 100, 100, 300)), "", "K"}}},
        {"the post pair before the post data",
         LircRemote(kSmallSpaceEnc + "  post_data_bits 1\n  post_data 0\n  post 200 700\n", "  K 0x9\n"),
         {{12, {1000, 500, 100, 300, 100, 100, 100, 100, 100, 300, 200, 700, 100, 100, 100}, "", "K"}}},
        {"foot after the trail",
         LircRemote(kSmallSpaceEnc + "  foot 300 900\n", "  K 0x9\n"),
         {{10, Joined(Joined({1000, 500}, PulseDistanceTrain({}, "1001", 100, 100, 300)), {900, 300}), "",
           "K"}}},
        // Lead 500; 0: pulse 500, space 500; the doubled 1: space 1000, pulse 1000; 0: pulse 500.
        {"rc6_mask doubles its bit",
         LircRemote(kSmallRc5 + "  rc6_mask 0x2\n", "  K 0x2\n"),
         {{10, {1000, 1500, 1500}, "", "K"}}},
        {"raw codes end on a pulse",
         LircRemote("  flags RAW_CODES\n", "  name A\n  100 200\n  300 400\n  name B\n  100 x\n",
                    "raw_codes"),
         {{5, {100, 200, 300}, "", "A"}, {8, {}, "not a duration: \"x\"", "B"}}},
        {"a raw button ends where a codes section begins",
         "begin remote\n name R\n begin raw_codes\n  name A\n  100 200 300\n begin codes\n  K 0x1\n",
         {{4, {100, 200, 300}, "", "A"}, {7, {}, "has 0 bits", "K"}}},
        {"a coding it cannot express",
         LircRemote("  bits 8\n  flags GRUNDIG\n", "  K 0x1\n"),
         {{6, {}, "LIRC remote \"R\": its GRUNDIG coding is not read", "K"}}},
        {"unknown parameter",
         LircRemote(kSmallSpaceEnc + "  bit 4\n", "  K 0x1\n"),
         {{10, {}, "unknown parameter \"bit\"", "K"}}},
        {"code wider than its bits",
         LircRemote(kSmallSpaceEnc, "  K 0x10\n  L\n  M 0xZ\n"),
         {{9, {}, "code 0x10 is wider than the 4 bits", "K"},
          {10, {}, "no code", "L"},
          {11, {}, "not a number", "M"}}},
        {"more bits than a code holds",
         LircRemote(kSmallSpaceEnc + "  pre_data_bits 61\n", "  K 0x1\n"),
         {{10, {}, "has 65 bits", "K"}}},
        {"lines after the remote are read again",
         LircRemote(kSmallRc5, "  K 0x5\n") + "500 500 500",
         {{9, {500, 500, 1000, 1000, 500}, "", "K"}, {12, {500, 500, 500}, ""}}},
    };
    for (const Case& c : cases) {
        const std::vector<ImportedButton> items = ReadAll(c.input);
        ASSERT_EQ(items.size(), c.items.size()) << c.name;
        for (size_t k = 0; k < items.size(); ++k) {
            EXPECT_EQ(items[k].line, c.items[k].line) << c.name << " #" << k;
            EXPECT_EQ(items[k].name, c.items[k].name) << c.name << " #" << k;
            EXPECT_EQ(items[k].durations, c.items[k].durations) << c.name << " #" << k;
            EXPECT_EQ(items[k].toggled, c.items[k].toggled) << c.name << " #" << k;
            EXPECT_EQ(items[k].skipped.empty(), c.items[k].error.empty()) << c.name << " #" << k;
            EXPECT_NE(items[k].skipped.find(c.items[k].error), std::string::npos) << c.name << " #" << k;
        }
    }
}

TEST(FormatReport, TabSeparatedOrJson) {
    struct Case {
        DecodeReport report;
        bool json;
        const char* text;
    } cases[] = {
        {{0x0220000020DF10EFull, "AB12"}, false, "0220000020DF10EF\tPulse-distance code\t32\tAB12"},
        {{0x010E00000000314Cull, ""}, false, "010E00000000314C\tBi-phase coding (RC-5)\t14\t"},
        {{0, "AB12"}, false, "0000000000000000\t-\t0\tAB12"},
        {{0x030C000000000908ull, "AB12"},
         true,
         "{\"code\":\"030C000000000908\",\"coding\":\"Pulse-length code\",\"bits\":12,\"raw\":\"AB12\"}"},
        {{0, ""}, true, "{\"code\":\"0000000000000000\",\"coding\":\"-\",\"bits\":0,\"raw\":\"\"}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatReport(c.report, c.json), c.text);
}

TEST(DecodeTrain, CutsAtTheReceiverCapacityAndSignsTheTrainAsReceived) {
    // A second pause length only behind the first 513 durations does not count.
    Durations longTrain(600, 500);
    longTrain[551] = 5000;
    EXPECT_EQ(DecodeTrain(longTrain, 0).rawSignature.substr(0, 2), "11");
    EXPECT_EQ(
        DecodeTrain(longTrain, 0).rawSignature,
        DecodeTrain(Durations(longTrain.begin(), longTrain.begin() + kPulseTrainCapacity), 0).rawSignature);

    // The decoder removes the separator pair of this train; the signature still has all 37 durations.
    const Durations split = Joined(Joined(PulseDistanceTrain({9000, 4500}, "10100101"), {5000}),
                                   PulseDistanceTrain({}, "00111100"));
    const DecodeReport report = DecodeTrain(split, 0);
    EXPECT_EQ(report.code, 0x021000000000A53Cull);
    ASSERT_GE(report.rawSignature.size(), 2u);
    const int pulses = report.rawSignature[0] - '0';
    const int pauses = report.rawSignature[1] - '0';
    EXPECT_EQ(report.rawSignature.size(), 2u * (1 + 2 * pulses + 2 * pauses + (37 + 3) / 4));
}

TEST(DecodeStream, ChainsTrainsAcrossInputsAndResetsAfterAMalformedLine) {
    std::string nec;
    for (int32_t d : PulseDistanceTrain({9000, 4500}, BitsOf(0x20DF10EF, 32)))
        nec += std::to_string(d) + " ";
    DecodeSession session;
    std::ostringstream out;
    std::ostringstream err;
    std::istringstream first(nec + "\n9000 2250 560\n");
    DecodeStream(first, "first", session, out, err);
    std::istringstream second("9000 2250 560\nbad line\n9000 2250 560\n");
    DecodeStream(second, "second", session, out, err);

    std::istringstream lines(out.str());
    std::vector<std::string> codes;
    for (std::string line; std::getline(lines, line);)
        codes.push_back(line.substr(0, 16));
    const std::vector<std::string> expected{"0220000020DF10EF", "0220000020DF10EF", "0220000020DF10EF",
                                            "0000000000000000", "0000000000000000"};
    EXPECT_EQ(codes, expected);
    EXPECT_EQ(err.str(), "second:2: not a duration: \"bad\"\n");
}

TEST(DecodeStream, JsonSaysWhyACodeOfZeroHasNoPatternAndAFileThatIsNoCaptureIsOneMessage) {
    struct Case {
        std::string input;
        std::string skipped; // in the one output line; "" for none
        std::string err;
    } cases[] = {
        {"500", "neither a code nor a raw pattern: fewer than two durations", ""},
        {"100 100 300 100 700 100 1500 100 3100 100 6300", "more than four pulse or pause lengths", ""},
        {"500 500 500", "", ""}, // a raw pattern, though no code
        {"<html>\n500 500 500", "", "page:1: not a capture file this tool reads\n"},
    };
    for (const Case& c : cases) {
        DecodeSession session;
        std::ostringstream out;
        std::ostringstream err;
        std::istringstream in(c.input);
        DecodeStream(in, "page", session, out, err, true);
        EXPECT_EQ(err.str(), c.err) << c.input;
        if (!c.err.empty()) {
            EXPECT_EQ(out.str(), "") << c.input;
            continue;
        }
        const std::string line = out.str();
        EXPECT_EQ(line.find("\"skipped\"") != std::string::npos, !c.skipped.empty()) << line;
        EXPECT_NE(line.find(c.skipped), std::string::npos) << line;
    }
}

} // namespace
