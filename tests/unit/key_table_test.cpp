#include "config/key_table.h"

#include <gtest/gtest.h>

#include <string>

#include "support/key_table_fixture.h"

namespace {

// A signature text: header 0x11 (one pulse class, one pause class), two class centres, then the
// class sequence. Only header and sequence decide a match.
std::string Signature(const char* centres, const char* sequence) {
    return std::string("11") + centres + sequence;
}

void Fill(ScopedKeyTable& t) {
    t.names.Add("TV");
    t.names.Add("Radio");
    t.codes.Add("00000000000abcde=  Vol+ \t", 0);      // 0: lower-case letters
    t.codes.Add("ABCDE=Short", 0);                     // 1: fewer than 16 digits
    t.codes.Add("0220000020DF10EF=Power", 0);          // 2
    t.codes.Add("0220000020DF10EF=Power of radio", 1); // 3: same code, other remote
    t.codes.Add("0000000000000000FF=x=y", 1);          // 4: key name holding '='
    t.codes.Add("NoEqualsSign", 1);                    // 5
    t.codes.Add("XYZ=NotHex", 7);                      // 6: tag names no remote
}

} // namespace

TEST(KeyTable, FindCodeEntryGivesTheFirstEntryWithThatCodeIgnoringCase) {
    ScopedKeyTable t;
    Fill(t);
    char received[CodeDigits + 1];
    CodeText(0xABCDE, received);
    struct Case {
        std::string text;
        int32_t index;
    } cases[] = {
        {received, 0}, // file code in lower case matches the received code
        {"00000000000ABCDE", 0},
        {"ABCDE", 1},            // only the short text finds the short code
        {"0220000020df10ef", 2}, // first of two remotes wins
        {"0220000020DF10EF", 2},
        {"0000000000000000FF", 4},
        {"NoEqualsSign", -1}, // an entry without '=' has no code part
        {"FFFFFFFFFFFFFFFF", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindCodeEntry(c.text), c.index) << c.text;
}

TEST(KeyTable, KeyAndRemoteNamesOfAnEntry) {
    ScopedKeyTable t;
    Fill(t);
    struct Case {
        int32_t index;
        const char* key;
        const char* remote;
    } cases[] = {
        {0, "Vol+", "TV"},   {3, "Power of radio", "Radio"},
        {4, "x=y", "Radio"}, {5, "", "Radio"},
        {6, "NotHex", ""},   {-1, "", ""},
        {7, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyNameAt(c.index), c.key) << c.index;
        EXPECT_EQ(RemoteNameAt(c.index), c.remote) << c.index;
    }
}

TEST(KeyTable, CodeOfRawEntryReadsTheTaggedEntryAsHexadecimal) {
    ScopedKeyTable t;
    Fill(t);
    t.codes.Add("1FFFFFFFFFFFFFFFF=TooLong", 0); // 7: 17 significant digits
    t.codes.Add("=Empty", 0);                    // 8
    t.codes.Add("0FEDCBA9876543210=Full", 0);    // 9: 16 significant digits behind a zero
    struct Case {
        int32_t tag;
        KeyCode code;
    } cases[] = {
        {0, 0xABCDE},
        {1, 0xABCDE},
        {2, 0x0220000020DF10EFull},
        {4, 0xFF}, // leading zeros do not count
        {9, 0xFEDCBA9876543210ull},
        {5, 0},
        {6, 0},
        {7, 0},
        {8, 0},
        {-1, 0},
        {99, 0},
    };
    for (const auto& c : cases)
        t.raws.Add("", c.tag);
    for (int32_t j = 0; j < static_cast<int32_t>(std::size(cases)); ++j)
        EXPECT_EQ(CodeOfRawEntry(j), cases[j].code) << "tag " << cases[j].tag;
    EXPECT_EQ(CodeOfRawEntry(-1), 0u);
    EXPECT_EQ(CodeOfRawEntry(t.raws.Count()), 0u);
}

TEST(KeyTable, RawScanStopsAtTheFirstMatchingSignature) {
    ScopedKeyTable t;
    Fill(t);
    t.raws.Add(Signature("00100020", "1B"), 2);
    t.raws.Add("", 0); // a missing pattern never matches
    t.raws.Add(Signature("00300040", "1C"), 0);
    t.raws.Add(Signature("00500060", "1C"), 3);
    struct Case {
        std::string captured;
        int32_t index;
    } cases[] = {
        {Signature("00110021", "1B"), 0}, // other class centres, same sequence
        {Signature("00300040", "1C"), 2},
        {Signature("00300040", "1D"), -1},
        {"", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindRawEntry(c.captured.c_str()), c.index) << c.captured;
    EXPECT_EQ(FindRawEntry(nullptr), -1);
}

TEST(KeyTable, ListingGivesOneRowPerCodeEntryAndOnePerFurtherPattern) {
    ScopedKeyTable t;
    t.names.Add("TV");
    t.names.Add("Radio");
    t.codes.Add("0000000000000001= Power", 0);
    t.codes.Add("0000000000000002=Mute", 1);
    t.codes.Add("0000000000000003=Vol", 1);
    t.raws.Add("AA", 1);
    t.raws.Add("BB", 0);
    t.raws.Add("CC", 1); // second pattern of entry 1: a row of its own, without the code
    t.raws.Add("DD", 9); // tag out of range: ignored
    const std::vector<KeyListRow> rows = ListKeyTable();
    ASSERT_EQ(rows.size(), 4u);
    const KeyListRow expected[] = {
        {" Power", "TV", "0000000000000001", "BB"},
        {"Mute", "Radio", "0000000000000002", "AA"},
        {"Mute", "Radio", "", "CC"},
        {"Vol", "Radio", "0000000000000003", ""},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].keyName, expected[i].keyName) << i;
        EXPECT_EQ(rows[i].remoteName, expected[i].remoteName) << i;
        EXPECT_EQ(rows[i].codeText, expected[i].codeText) << i;
        EXPECT_EQ(rows[i].rawText, expected[i].rawText) << i;
    }
}

TEST(KeyTable, EveryOperationIsSafeWithoutLists) {
    StringList* saved[] = {RemoteNames, CodeTable, RawTable};
    RemoteNames = CodeTable = RawTable = nullptr;
    EXPECT_EQ(FindCodeEntry("0000000000000001"), -1);
    EXPECT_EQ(KeyNameAt(0), "");
    EXPECT_EQ(RemoteNameAt(0), "");
    EXPECT_EQ(CodeOfRawEntry(0), 0u);
    EXPECT_EQ(FindRawEntry("11"), -1);
    EXPECT_TRUE(ListKeyTable().empty());
    RemoteNames = saved[0], CodeTable = saved[1], RawTable = saved[2];
}

TEST(KeyTable, EmptyTableFindsNothing) {
    ScopedKeyTable t;
    char text[CodeDigits + 1];
    for (KeyCode code : {KeyCode{0}, KeyCode{1}, KeyCode{0x0220000020DF10EFull}}) {
        CodeText(code, text);
        EXPECT_EQ(FindCodeEntry(text), -1);
    }
    EXPECT_EQ(FindRawEntry(Signature("00100020", "1B").c_str()), -1);
}
