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
};

TEST(TrainReader, ReadsTrainLinesAndMode2Output) {
    struct Case {
        const char* name;
        const char* input;
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
    };
    for (const Case& c : cases) {
        const std::vector<ImportedButton> items = ReadAll(c.input);
        ASSERT_EQ(items.size(), c.items.size()) << c.name;
        for (size_t k = 0; k < items.size(); ++k) {
            EXPECT_EQ(items[k].line, c.items[k].line) << c.name << " #" << k;
            EXPECT_EQ(items[k].durations, c.items[k].durations) << c.name << " #" << k;
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

} // namespace
