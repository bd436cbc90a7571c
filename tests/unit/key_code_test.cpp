#include "decoding/key_code.h"

#include <gtest/gtest.h>

#include <string>

TEST(CodeText, SixteenUpperCaseDigitsPaddedWithZeros) {
    struct Case {
        KeyCode code;
        const char* text;
    } cases[] = {
        {0, "0000000000000000"},
        {0xABCDE, "00000000000ABCDE"},
        {0x0220000020DF10EFull, "0220000020DF10EF"},
        {~0ull, "FFFFFFFFFFFFFFFF"},
    };
    for (const auto& c : cases) {
        char text[CodeDigits + 1];
        CodeText(c.code, text);
        EXPECT_STREQ(text, c.text);
    }
}

TEST(CodingKindText, NamesTheFourCodings) {
    EXPECT_STREQ(CodingKindText(0x010E00000000314Cull), "Bi-phase coding (RC-5)");
    EXPECT_STREQ(CodingKindText(0x0220000020DF10EFull), "Pulse-distance code");
    EXPECT_STREQ(CodingKindText(0x030C000000000908ull), "Pulse-length code");
    EXPECT_STREQ(CodingKindText(0x041500000010040Cull), "Bi-phase coding (RC-6)");
    EXPECT_STREQ(CodingKindText(0x0510000000000001ull), "");
    EXPECT_STREQ(CodingKindText(0), "");
}
