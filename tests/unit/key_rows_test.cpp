#include "setup_dialog/key_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> KeyNames(const KeyRows& rows) {
    std::vector<std::string> names;
    for (const KeyListRow& row : rows.Rows())
        names.push_back(row.keyName);
    return names;
}

TEST(KeyRows, SortsByRemoteThenKeyAsUnsignedBytes) {
    KeyRows rows;
    // "b", "B", "Я", "ёж", "A" in code page 1251: ё is B8 and Я is DF.
    rows.Assign({{"b", "TV", "", ""},
                 {"B", "TV", "", ""},
                 {"\xDF", "TV", "", ""},
                 {"\xB8\xE6", "TV", "", ""},
                 {"A", "TV", "", ""},
                 {"Z", "Amp", "", ""},
                 {"AB", "TV", "", ""}});
    rows.Sort();
    EXPECT_EQ(KeyNames(rows), (std::vector<std::string>{"Z", "A", "AB", "B", "b", "\xB8\xE6", "\xDF"}));
}

TEST(KeyRows, EqualNamesKeepTheirOrder) {
    // Forty rows of one name behind a row that sorts first: more than an insertion sort handles on
    // its own, so an unstable sort would show.
    std::vector<KeyListRow> many;
    std::vector<std::string> manySorted = {"Mute"};
    for (int i = 0; i < 40; ++i) {
        many.push_back({"Play", "TV", std::to_string(i), ""});
        manySorted.push_back(std::to_string(i));
    }
    many.push_back({"Mute", "TV", "Mute", ""});
    const struct {
        std::vector<KeyListRow> rows;
        std::vector<std::string> codes;
    } cases[] = {
        {{{"Play", "TV", "3", ""}, {"Mute", "TV", "1", ""}, {"Play", "TV", "2", ""}, {"Play", "TV", "1", ""}},
         {"1", "3", "2", "1"}},
        {many, manySorted},
    };
    for (const auto& c : cases) {
        KeyRows rows;
        rows.Assign(c.rows);
        rows.Sort();
        std::vector<std::string> codes;
        for (const KeyListRow& row : rows.Rows())
            codes.push_back(row.codeText);
        EXPECT_EQ(codes, c.codes);
        EXPECT_EQ(CompareKeyRows(rows[1], rows[2]), 0);
    }
}

TEST(KeyRows, SortingFollowsOneRowToItsNewPlace) {
    KeyRows rows;
    rows.Assign({{"b", "TV", "", ""}, {"c", "TV", "", ""}, {"a", "TV", "", ""}, {"d", "Amp", "", ""}});
    EXPECT_EQ(rows.SortKeeping(2), 1); // "a" of TV after Amp's "d"
    EXPECT_EQ(rows[1].keyName, "a");
    EXPECT_EQ(rows.SortKeeping(-1), -1);
}

TEST(KeyRows, FindsTheFirstRowByExactCode) {
    KeyRows rows;
    rows.Assign({{"a", "R", "02200000FB04F708", ""},
                 {"b", "R", "02200000fb04f708", ""},
                 {"c", "R", "02200000FB04F708", ""}});
    EXPECT_EQ(rows.FindByCode("02200000FB04F708"), 0);
    EXPECT_EQ(rows.FindByCode("02200000fb04f708"), 1);
    EXPECT_EQ(rows.FindByCode("0000000000000000"), -1);
    EXPECT_EQ(rows.FindByCode(""), -1);
}

TEST(KeyRows, FindsTheFirstRowByRawSignature) {
    // Header 11, two class centres, then the classes; the centres do not decide a match.
    KeyRows rows;
    rows.Assign({{"a", "R", "", "11001000201B"},
                 {"b", "R", "0000000000000001", ""},
                 {"c", "R", "", "11003000401B"},
                 {"d", "R", "", "11001000201C"}});
    EXPECT_EQ(rows.FindByRaw("11005000601B"), 0);
    EXPECT_EQ(rows.FindByRaw("11001000201C"), 3);
    EXPECT_EQ(rows.FindByRaw("11001000201D"), -1);
    EXPECT_EQ(rows.FindByRaw(""), -1); // never the row without a pattern
    EXPECT_EQ(rows.FindByRaw(nullptr), -1);
}

TEST(KeyRows, AppendAndRemove) {
    KeyRows rows;
    EXPECT_EQ(rows.Append({"x", "R", "1", ""}), 0);
    EXPECT_EQ(rows.Append({"y", "R", "2", ""}), 1);
    rows.Remove(5);
    rows.Remove(-1);
    EXPECT_EQ(rows.Count(), 2);
    rows.Remove(0);
    EXPECT_EQ(KeyNames(rows), (std::vector<std::string>{"y"}));
}

} // namespace
