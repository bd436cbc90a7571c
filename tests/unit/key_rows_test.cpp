#include "setup_dialog/key_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup_dialog/list_history.h"

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

TEST(KeyRows, FindsTheFirstRowByCodeIgnoringAsciiCaseAsTheKeyTableDoes) {
    KeyRows rows;
    rows.Assign(
        {{"raw", "R", "", "0102"}, {"b", "R", "02200000fb04f708", ""}, {"a", "R", "02200000FB04F708", ""}});
    EXPECT_EQ(rows.FindByCode("02200000FB04F708"), 1);
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

TEST(KeyRows, ARowKeepsItsIdentityThroughSortRemovalAndRestore) {
    KeyRows rows;
    rows.Assign({{"b", "TV", "", ""}, {"c", "TV", "", ""}, {"a", "TV", "", ""}});
    const RowId b = rows.IdAt(0), c = rows.IdAt(1), a = rows.IdAt(2);
    EXPECT_NE(a, b);
    EXPECT_NE(b, c);
    rows.Sort();
    EXPECT_EQ(rows.IndexOf(a), 0);
    EXPECT_EQ(rows.IndexOf(c), 2);
    const RowId added = rows.IdAt(rows.Append({"z", "TV", "", ""}));
    EXPECT_EQ(rows.IndexOf(added), 3);
    ListHistory history;
    history.Remove(rows, rows.IndexOf(b));
    history.Remove(rows, rows.IndexOf(added));
    EXPECT_EQ(rows.IndexOf(b), -1) << "a command for a removed row finds nothing";
    EXPECT_EQ(rows.IndexOf(kNoRow), -1);
    // Undone last first, each at its old place and with its old identity.
    EXPECT_EQ(history.Undo(rows).select, 2);
    EXPECT_EQ(rows.IdAt(2), added);
    EXPECT_EQ(history.Undo(rows).select, 1);
    EXPECT_EQ(rows.IdAt(1), b);
    EXPECT_EQ(KeyNames(rows), (std::vector<std::string>{"a", "b", "c", "z"}));
    EXPECT_EQ(history.Last(), ListCommand::None);
    EXPECT_EQ(history.Undo(rows).select, -1);
}

TEST(KeyRows, ACodeThatTheFilesCannotHoldIsRefused) {
    const struct {
        const char* text;
        bool raw;
        CodeProblem problem;
    } cases[] = {
        {"02200000FB04F708", false, CodeProblem::None},
        {"", false, CodeProblem::Empty},
        {"  ", false, CodeProblem::Empty},
        {"", true, CodeProblem::Empty},
        {"A=B", false, CodeProblem::NotStorable},
        {"[Main]", false, CodeProblem::NotStorable},
        {";x", false, CodeProblem::NotStorable},
        {" #x", false, CodeProblem::NotStorable},
        {"0102=", true, CodeProblem::None}, // a pattern is a value: '=' is fine there
        {"#0102", true, CodeProblem::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckCodeText(c.text, c.raw), c.problem) << c.text << (c.raw ? " raw" : "");
}

TEST(KeyRows, FindsAKeyNameThatAnotherRowOfTheSameRemoteHas) {
    KeyRows rows;
    rows.Assign({{"Play", "TV", "1", ""},
                 {"Play", "Amp", "2", ""},
                 {"Stop", "TV", "", "0102"},
                 {"Stop", "tv", "", "0304"},
                 {"play", "TV", "3", ""}});
    EXPECT_FALSE(rows.SharesKeyName(0)) << "another remote, or another letter case of the key";
    EXPECT_TRUE(rows.SharesKeyName(2)) << "one file for TV and tv";
    EXPECT_FALSE(rows.SharesKeyName(5));
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
