#include "decoding/raw_signature.h"

#include <gtest/gtest.h>

#include <string>

#include "receiver/receiver.h"
#include "support/ir_trains.h"
#include "support/train_results.h"

namespace {

TEST(BuildRawSignature, Examples) {
    struct Case {
        const char* name;
        Durations train;
        const char* text;
    } cases[] = {
        {"two classes each", {900, 900, 1800, 900, 900, 1800, 900}, "2284030807840308070410"},
        {"pulse at i + 2 among the pause classes", {500, 1000, 1000, 2000, 500}, "22F401E803E803D0070100"},
        {"two more durations fit the last byte",
         {500, 1000, 1000, 2000, 500, 1000, 1000},
         "22F401E803E803D0070100"},
        {"75 and 100 in one class", {75, 500, 100}, "115700F40100"},
        {"74 and 100 in two classes", {74, 500, 100}, "214A006400F40100"},
        // 3000 at position 2 is longer than every pause: it gets the longest pause class, 1.
        {"pulse at i + 2 above every pause class", {500, 500, 3000, 1000, 500}, "22F401B80BF401E8030500"},
        {"long durations: percentages and centres in 64 bits",
         {1000000000, 2000000000, 1600000000, 2000000000, 1000000000},
         "2100CA001000940000"},
        {"five pause lengths", {500, 500, 500, 1000, 500, 2000, 500, 4000, 500, 8000, 500}, ""},
        {"one duration", {500}, ""},
        {"zero pause", {900, 0, 1800, 900, 900}, ""},
        {"negative pulse", {900, 900, -1800, 900, 900}, ""},
        {"all zero", Durations(9, 0), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SignatureTextOf(c.train), c.text) << c.name;
}

TEST(BuildRawSignature, LengthLimit) {
    // One class of each kind: 5 header bytes and four durations a byte, so 4072 durations make
    // the longest signature and one more gives none.
    uint8_t signature[kRawSignatureCapacity];
    const Durations longest(4072, 500);
    EXPECT_EQ(BuildRawSignature(longest.data(), 4072, signature), 1023);
    const Durations tooLong(4073, 500);
    EXPECT_EQ(BuildRawSignature(tooLong.data(), 4073, signature), 0);
    EXPECT_EQ(BuildRawSignature(nullptr, 7, signature), 0);
    EXPECT_EQ(BuildRawSignature(longest.data(), -1, signature), 0);
}

TEST(BuildRawSignature, StretchedTrainMatchesAlthoughCentresDiffer) {
    const Durations learned{900, 900, 1800, 900, 900, 1800, 900, 1800, 900};
    const std::string stored = SignatureTextOf(learned);
    const std::string captured = SignatureTextOf(Stretched(learned, 11, 10));
    EXPECT_NE(stored, captured);
    EXPECT_TRUE(SameRawSignature(stored.c_str(), captured.c_str()));
}

TEST(SameRawSignature, ComparesHeaderAndClassNumbersOnly) {
    struct Case {
        const char* name;
        const char* stored;
        const char* captured;
        bool same;
    } cases[] = {
        {"identical", "2284030807840308070410", "2284030807840308070410", true},
        {"other centres", "2284030807840308070410", "22E803D007E803D0070410", true},
        {"other header, same class numbers", "2184030807840308070410", "2284030807840308070410", false},
        {"other header digit 2", "1284030807840308070410", "2284030807840308070410", false},
        {"other class numbers", "2284030807840308070411", "2284030807840308070410", false},
        {"stored longer", "228403080784030807041000", "2284030807840308070410", false},
        {"captured longer", "2284030807840308070410", "228403080784030807041000", false},
        {"stored shorter than its centres", "2284030807", "2284030807840308070410", false},
        {"both only centres", "1184038403", "1184038403", true},
        {"not a header", "ZZ84030807840308070410", "ZZ84030807840308070410", false},
        {"empty", "", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SameRawSignature(c.stored, c.captured), c.same) << c.name;
    EXPECT_FALSE(SameRawSignature(nullptr, "2284030807840308070410"));
    EXPECT_FALSE(SameRawSignature("2284030807840308070410", nullptr));
}

TEST(RawSignatureToText, TwoUpperCaseDigitsPerByte) {
    const uint8_t bytes[] = {0x00, 0x0F, 0xA5, 0xFF};
    char text[2 * std::size(bytes) + 1];
    RawSignatureToText(bytes, static_cast<int32_t>(std::size(bytes)), text);
    EXPECT_STREQ(text, "000FA5FF");
    RawSignatureToText(bytes, 0, text);
    EXPECT_STREQ(text, "");
}

} // namespace
